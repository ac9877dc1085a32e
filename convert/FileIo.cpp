#include "convert/FileIo.h"

#include "convert/StandardInput.h"
#include "common/os/File.h"

namespace mirvel::convert {

bool IsSameFile(const std::string& first, const std::string& second)
{
    if (IsStandardStream(first) || IsStandardStream(second)) return false;
    return os::IsSameFile(first, second);
}

}  // namespace mirvel::convert
