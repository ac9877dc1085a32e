#pragma once

#include "common/InOutError.h"

#include <exception>
#include <string>

namespace mirvel::test {

// The code of the InOutError that `body` throws, 0 when it throws none.
template <typename Body>
int CodeOf(Body body)
{
    try {
        body();
    } catch (const InOutError& error) {
        return error.Code();
    }
    return 0;
}

// The message of the error that `body` throws, empty when it throws none.
template <typename Body>
std::string MessageOf(Body body)
{
    try {
        body();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

}  // namespace mirvel::test
