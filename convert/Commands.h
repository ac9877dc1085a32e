#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace mirvel::convert {

enum ExitCode : int { ExitSuccess = 0, ExitProblems = 1, ExitUsage = 2 };

// The whole program but its entry point: runs the command in `args` (without the program's
// name), writes results to `out` and problems to `err`, and returns the exit code.
int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mirvel::convert
