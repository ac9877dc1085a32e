#include "Internal.h"

#include <exception>

namespace mirvel::os::detail {

void WriteAndClose(File& file, const std::function<void(File&)>& write)
{
    std::exception_ptr failure;
    try {
        write(file);
        file.Flush();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        try {
            file.Close();
        } catch (...) {
            failure = std::current_exception();
        }
        std::rethrow_exception(failure);
    }
    file.Close();
}

}  // namespace mirvel::os::detail
