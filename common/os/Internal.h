#pragma once

// What the platform file layers share: their side of fault injection (File.h declares the
// test side) and the last steps of writing a file.

#include "common/os/File.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>

namespace mirvel::os::detail {

struct Injected {
    int platformError = 0;                  // non-zero: fail the call with this error
    std::optional<std::size_t> shortBytes;  // set: move at most this many bytes

    std::size_t Cut(std::size_t size) const { return shortBytes && *shortBytes < size ? *shortBytes : size; }
};

// Counts one call of `op` and returns what, if anything, was injected for it.
Injected NextCall(Op op);

// Runs `write`, flushes and closes; after a failing write or flush the file is still closed,
// and a failing close is then the failure reported. An in-place save passes `putBack`, which
// restores the old bytes after any failing step: before the close while the file is still open
// (`stillOpen`), or after a failing close through the file opened anew.
void WriteAndClose(File& file, const std::function<void(File&)>& write,
                   const std::function<void(bool stillOpen)>& putBack = {});

// Runs an undo step when the scope ends, unless the step that made it unneeded has succeeded.
class Undo {
public:
    explicit Undo(std::function<void()> step) : step_(std::move(step)) {}
    ~Undo()
    {
        if (step_) step_();
    }
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    void Dismiss() { step_ = nullptr; }

private:
    std::function<void()> step_;
};

}  // namespace mirvel::os::detail
