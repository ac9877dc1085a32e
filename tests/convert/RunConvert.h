#pragma once

// The converter run in-process, as its command line would run it, with what it printed.
#include "convert/Commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace mirvel::test {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

inline Outcome Convert(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = convert::RunConvert(args, out, err);
    return {code, out.str(), err.str()};
}

inline const std::string Starter = std::string(MIRVEL_SAMPLES_DIR) + "/starter.mirvel";

}  // namespace mirvel::test
