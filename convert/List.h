#pragma once

#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirvel::convert {

// The pairs as the terminal shows them: the record number right-aligned, the French word
// padded to the widest one by display width, then the Japanese meaning; one line each, LF.
// Control characters show as their pictures (TerminalText.h). Two passes over a list read block
// by block, so that memory doesn't grow with the list: every block measured first, then each
// printed.
class ListPrinter {
public:
    void Measure(const TWordRec* records, std::size_t count);
    std::string Print(const TWordRec* records, std::size_t count, std::int64_t first) const;

private:
    std::size_t francaisWidth_ = 0;
    std::int64_t count_ = 0;
};

}  // namespace mirvel::convert
