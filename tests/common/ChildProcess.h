#pragma once

#include <functional>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirvel::test {

// Runs `body` in a forked child and returns its result (0 to 255), or -1 when the child did
// not exit normally. The test's own process stays as it was.
inline int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int result = 255;
        try {
            result = body();
        } catch (...) {
        }
        ::_exit(result);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Drops the capabilities that let root ignore file modes, so that a read-only file or folder
// refuses this process as it would any user. Call it only in a child.
inline void DropFileOverride()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    ::syscall(SYS_capget, &header, data);
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[0].effective &= ~(1u << cap);
        data[0].permitted &= ~(1u << cap);
    }
    ::syscall(SYS_capset, &header, data);
}

}  // namespace mirvel::test
