#pragma once

// Text in the system's code page, the one settings files are written in.

#include <string>
#include <string_view>

namespace mirvel::os {

// The text as the system reads it, in UTF-8, for a message: through the ANSI code page on
// Windows, and elsewhere through code page 932, the users' (the settings file's name matching
// assumes it too). Never fails: what has no character comes out as the system shows it.
std::string SystemTextToUtf8(std::string_view bytes);

}  // namespace mirvel::os
