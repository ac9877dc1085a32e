#pragma once

#include <string>

namespace mirvel::convert {

// The converter only ever reads its input, so it opens it for reading alone: unlike the two
// programs, it can export or check a read-only word list. "-" is standard input; a pipe named
// any other way, a device or a folder is refused before it is opened. Failures throw
// InOutError with the common codes (2 not found, 3 bad path, 5 access denied, 100 a short read)
// or a MessageError when the file can't fit in memory. Word lists are read with ListReader.h.
std::string ReadWholeFile(const std::string& path);

// Both names lead to one existing file (links followed); "-" is never the same as a file.
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace mirvel::convert
