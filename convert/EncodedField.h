#pragma once

#include "common/CodePage.h"
#include "common/WordRec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvel::convert {

// The two fields of a pair, with what each holds.
enum class Side { Francais, Japonais };

inline CodePage CodePageOf(Side side)
{
    return side == Side::Francais ? CodePage::Windows1252 : CodePage::ShiftJis;
}
inline std::size_t CapacityOf(Side side)
{
    return side == Side::Francais ? FrancaisCapacity : JaponaisCapacity;
}

// The longest values the editor lets a user type, so that every imported pair can be edited.
inline std::size_t EditorLimitOf(Side side)
{
    return side == Side::Francais ? MaxFrancaisBytes : MaxJaponaisBytes;
}

// A field's text in a code page, with where it may be cut and what it can't hold. The
// characters it can't hold are listed up to ListedLimit each way, so that a field of a
// gigabyte of NULs costs no more than its text.
struct EncodedField {
    static constexpr std::size_t ListedLimit = 8;
    struct Equivalent {
        std::size_t offset;  // the first
        char32_t character;
        std::int64_t count;
    };

    std::size_t length = 0;  // bytes of every character the code page holds
    // The longest run of whole characters from the start within the limit, and where it ends in
    // the text: what a cut keeps, made only in a field whose every character is held.
    std::size_t fitBytes = 0;
    std::size_t fitTextLength = 0;
    std::vector<std::pair<std::size_t, char32_t>> unmapped;  // text offset and character (escapes too)
    std::vector<std::pair<std::size_t, char32_t>> controls;  // the same for control characters
    std::vector<Equivalent> equivalents;  // stored as StandardEquivalent, one for each character
    std::vector<char> buffer;             // the bytes up to a little past the limit

    std::string_view Bytes() const { return {buffer.data(), std::min(length, buffer.size())}; }
};

// C0 controls and DEL, which the code pages hold but no word does; NUL among them. Tab and the
// line breaks are not: in a field, they can only come from a quoted one, as the file meant.
inline bool IsControlCharacter(char32_t c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

// Control characters are listed apart: they are in the code page, yet no field may hold them.
// A character the code page lacks is stored as its standard equivalent (common/CodePage.h),
// where it has one, and listed.
void EncodeField(CodePage codePage, std::string_view text, std::size_t limit, EncodedField& out);

}  // namespace mirvel::convert
