#pragma once

#include "convert/CommandLine.h"

#include <string>

namespace mirvel::convert {

// The --help text of a command (Overview: the program's), in Japanese, ending in a line feed.
std::string HelpText(CommandKind kind);

// The line that follows a usage error, pointing at the right help.
std::string HelpHint(CommandKind kind);

}  // namespace mirvel::convert
