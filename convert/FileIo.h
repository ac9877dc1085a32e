#pragma once

#include <string>

namespace mirvel::convert {

// Both names lead to one existing file (links followed); "-" is never the same as a file.
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace mirvel::convert
