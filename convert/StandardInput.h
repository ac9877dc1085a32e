#pragma once

#include "common/WordFile.h"

#include <cstddef>
#include <optional>
#include <string>

namespace mirvel::convert {

// The converter's "-": standard input as an input file, standard output as export's output.
inline bool IsStandardStream(const std::string& path) { return path == "-"; }

// Both names lead to one existing file (links followed); "-" is never the same as a file.
bool IsSameFile(const std::string& first, const std::string& second);

// Fills `buffer` as far as standard input goes, in binary; 0 only at its end. Throws InOutError
// on a failing read.
std::size_t ReadStandardInput(char* buffer, std::size_t size);

// Refuses a name that leads to a pipe, with the hint to give it as "-" (a pipe named otherwise
// would be refused by the file layer with a bare "access denied").
void RefusePipe(const std::string& path, bool output);

// The word list a command reads ("-": standard input), as often as the command needs it,
// block by block so that memory doesn't grow with a file. A file is read anew on each pass;
// standard input can be read only once, so for more than one pass it is read whole on the first
// and kept.
class ListInput {
public:
    ListInput(std::string path, int passes);

    // One pass over the whole list; returns the bytes of a partial record at its end.
    std::string Pass(const WordFileReader::Block& onBlock);

private:
    std::string path_;
    int passes_;
    std::optional<WordList> kept_;
    std::string keptTrailing_;
};

}  // namespace mirvel::convert
