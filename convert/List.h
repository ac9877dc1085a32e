#pragma once

#include "WordRec.h"

#include <string>

namespace mirvel::convert {

// The pairs as the terminal shows them: the record number right-aligned, the French word
// padded to the widest one by display width, then the Japanese meaning; one line each, LF.
// Control characters show as their pictures (TerminalText.h).
std::string ListWords(const WordList& words);

}  // namespace mirvel::convert
