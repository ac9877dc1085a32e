#pragma once

// The file layer's side of fault injection (File.h declares the test side).

#include "File.h"

#include <cstddef>
#include <optional>

namespace mirvel::os::detail {

struct Injected {
    int platformError = 0;                   // non-zero: fail the call with this error
    std::optional<std::size_t> shortBytes;  // set: move at most this many bytes
};

// Counts one call of `op` and returns what, if anything, was injected for it.
Injected NextCall(Op op);

}  // namespace mirvel::os::detail
