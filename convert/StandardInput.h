#pragma once

#include <cstddef>
#include <string>

namespace mirvel::convert {

// The converter's "-": standard input as an input file, standard output as export's output.
inline bool IsStandardStream(const std::string& path) { return path == "-"; }

// Fills `buffer` as far as standard input goes, in binary; 0 only at its end. Throws InOutError
// on a failing read.
std::size_t ReadStandardInput(char* buffer, std::size_t size);

}  // namespace mirvel::convert
