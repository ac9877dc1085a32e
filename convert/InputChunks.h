#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mirvel::convert {

// A text file's bytes in chunks of about a megabyte that each end just after a line feed (the
// last one holds the rest), so that no character and no CR LF is split between two chunks:
// import then holds one chunk of its input at a time. "-" is standard input, kept in memory
// for the passes after the first, since a pipe can be read only once.
class InputChunks {
public:
    explicit InputChunks(std::string path);

    // `unitSize` 2 finds line feeds as UTF-16 units (`bigEndian` says which byte comes first),
    // counted from the start of the file. Throws InOutError or MessageError.
    void Read(const std::function<void(std::string_view chunk, bool last)>& onChunk, std::size_t unitSize = 1,
              bool bigEndian = false);

private:
    std::string path_;
    bool readOnce_ = false;
    std::string kept_;
};

// Line breaks as editors count them: CR LF, LF and a lone CR each end a line, so a text's
// line breaks are its line feeds and its carriage returns not before one. Apart, since the
// line feeds are wanted alone too.
std::size_t LineFeedCount(std::string_view text);
std::size_t LoneCarriageReturnCount(std::string_view text);

}  // namespace mirvel::convert
