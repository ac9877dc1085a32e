#include "common/os/Internal.h"

#include "common/InOutError.h"

#include <exception>

namespace mirvel::os {

std::string File::ReadAll()
{
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(Size()));
    } catch (const std::exception&) {
        throw MessageError(OutOfMemoryMessage);
    }
    if (Read(bytes.data(), bytes.size()) < bytes.size()) throw InOutError(IoReadPastEnd);
    return bytes;
}

namespace detail {

void WriteAndClose(File& file, const std::function<void(File&)>& write,
                   const std::function<void(bool stillOpen)>& putBack)
{
    std::exception_ptr failure;
    try {
        write(file);
        file.Flush();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        if (putBack) putBack(true);
        try {
            file.Close();
        } catch (...) {
            failure = std::current_exception();
        }
        std::rethrow_exception(failure);
    }
    try {
        file.Close();
    } catch (...) {
        if (putBack) putBack(false);
        throw;
    }
}

}  // namespace detail
}  // namespace mirvel::os
