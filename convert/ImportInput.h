#pragma once

#include "convert/Import.h"
#include "convert/InputDecoder.h"
#include "convert/TextEncoding.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace mirvel::convert {

// Reads an input from its start, handing out chunks that end just after a line feed, as
// InputChunks::Read does (`unitSize` 2: line feeds as UTF-16 units, `bigEndian` says which).
using ChunkHandler = std::function<void(std::string_view chunk, bool last)>;
using ChunkSource = std::function<void(const ChunkHandler& onChunk, std::size_t unitSize, bool bigEndian)>;

// An import of one input up to the point where it would be written.
struct ImportRun {
    DecodedInput input;                     // the encoding read with; notUtf8At as first found
    std::optional<EncodingVerdict> choice;  // when the words had to decide the encoding
    ImportResult result;                    // nothing read when the choice found none

    bool Undecided() const { return choice && !choice->chosen; }
};

// The passes over the input: the first finds a BOM or valid UTF-8 and counts the lines; for a
// file that is neither, one more lets its words choose between Shift-JIS and Windows-1252; the
// last reads the pairs, one chunk held at a time. Throws what the source throws, and
// ColumnsError when --columns names a column the input lacks.
ImportRun ImportInput(const ChunkSource& read, const ImportOptions& options, std::optional<TextEncoding> stated);

}  // namespace mirvel::convert
