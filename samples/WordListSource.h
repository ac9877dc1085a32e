#pragma once

#include "common/WordRec.h"

#include <istream>
#include <stdexcept>

namespace samples {

// A line of a word-list source that can't become a record; what() names the line and why.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using mirvel::MaxFrancaisBytes;
using mirvel::MaxJaponaisBytes;

// A UTF-8 text of "French<TAB>Japanese" lines, one pair a line, into zero-filled records in
// the same order. Empty lines and lines starting with '#' are skipped. Throws SourceError for a
// line without exactly one tab, with a side that its code page can't hold, or that doesn't fit.
mirvel::WordList ParseWordListSource(std::istream& source);

}  // namespace samples
