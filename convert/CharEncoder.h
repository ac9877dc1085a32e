#pragma once

#include "CodePage.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvel::convert {

// Character-at-a-time encoding into a code page, exactly as the common encoder does it (no
// look-alike substitutes), remembered per character: a word list uses a few thousand distinct
// characters at most, and asking the platform's tables once for each keeps large imports fast.
class CharEncoder {
public:
    explicit CharEncoder(CodePage codePage);

    // Appends the character's bytes; false (and nothing appended) when the code page lacks it.
    bool Append(char32_t c, std::string& out);

private:
    struct Entry {
        unsigned char state = 0;  // Unknown, Mapped or Unmapped
        unsigned char length = 0;
        char bytes[2] = {};
    };
    CodePage codePage_;
    std::vector<Entry> table_;  // the Basic Multilingual Plane; neither code page goes beyond it
};

// A field's text in a code page, with where it may be cut and what it can't hold.
struct EncodedField {
    std::string bytes;              // every character the code page holds
    std::size_t fitBytes = 0;       // the longest run of whole characters within the limit...
    std::size_t fitTextLength = 0;  // ...and where that run ends in the text
    std::vector<std::pair<std::size_t, char32_t>> unmapped;  // text offset and character (escapes too)
};

void EncodeField(CharEncoder& encoder, std::string_view text, std::size_t limit, EncodedField& out);

}  // namespace mirvel::convert
