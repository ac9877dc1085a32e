#pragma once

// The platform's own numbers for the errors that tests inject: errno here, GetLastError() on
// Windows. The layer maps them onto the same codes on both.

#ifdef _WIN32
#include "common/os/Win32Api.h"
#else
#include <cerrno>
#endif

namespace mirvel::test::platform {

#ifdef _WIN32
constexpr int NotFound = ERROR_FILE_NOT_FOUND;
constexpr int OtherDevice = ERROR_NOT_SAME_DEVICE;  // a rename across volumes
constexpr const char* OtherDeviceMessage = "I/O エラー (17)";
constexpr int TooManyOpenFiles = ERROR_TOO_MANY_OPEN_FILES;
constexpr int AccessDenied = ERROR_ACCESS_DENIED;
constexpr int DeviceError = ERROR_IO_DEVICE;
constexpr int DiskFull = ERROR_DISK_FULL;
constexpr int BadHandle = ERROR_INVALID_HANDLE;  // one without a code of its own
#else
constexpr int NotFound = ENOENT;
constexpr int OtherDevice = EXDEV;
constexpr const char* OtherDeviceMessage = "I/O エラー (18)";
constexpr int TooManyOpenFiles = EMFILE;
constexpr int AccessDenied = EACCES;
constexpr int DeviceError = EIO;
constexpr int DiskFull = ENOSPC;
constexpr int BadHandle = EBADF;
#endif

}  // namespace mirvel::test::platform
