#pragma once

// What the reliability tests share: the faults a failing disk can hit a command with, the
// process's open descriptors (handles on Windows) and peak memory, and on Linux a scope in
// which root is refused like any other user.

#include "tests/support/PlatformErrors.h"
#include "common/os/File.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include "common/os/Win32Api.h"

#include <psapi.h>
#include <winioctl.h>
#else
#include <cerrno>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

// Readable failure output for the window texts compared here.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace mirvel::reliability {

// One failure of one kind of file-layer call; `error` 0 means a short transfer instead (the
// disk filled up, or the file ended early).
struct StepFault {
    static constexpr std::size_t ShortBytes = 7;

    os::Op op;
    int error;
    const char* message;  // what the error box must say (UTF-8, full stop included)

    void InjectAt(int nth) const
    {
        if (error == 0)
            os::InjectShortTransfer(op, nth, ShortBytes);
        else
            os::InjectFault(op, nth, error);
    }
    std::string Name(int nth) const
    {
        static const char* const ops[] = {"open",   "read",  "write",   "flush",
                                          "rename", "close", "reserve", "truncate"};
        return std::string(ops[static_cast<int>(op)]) + " #" + std::to_string(nth) + " " +
               (error == 0 ? std::string("short") : std::to_string(error));
    }
};

// True when the next call of the fault's kind fails: the fault is still waiting, so the calls
// made since it was injected never reached it (rather than met it and carried on).
inline bool StillPending(const std::string& scratchFile)
{
    struct Short {};
    const std::string bytes(2 * StepFault::ShortBytes, 'x');
    try {
        os::ReplaceFile(scratchFile, [&](os::File& file) {
            if (file.Write(bytes.data(), bytes.size()) < bytes.size()) throw Short();
        });
        os::File file = os::File::OpenExisting(scratchFile);
        std::string back(bytes.size(), '\0');
        if (file.Read(back.data(), back.size()) < back.size()) throw Short();
        file.Close();
    } catch (...) {
        return true;
    }
    return false;
}

// Runs `attempt(nth)`, which injects the fault at the nth call of its kind once it has set the
// scene, for nth = 1, 2, ... until an attempt no longer fails. That attempt's fault must still
// be waiting for a call the command did not make: a command that met a fault and carried on as
// if nothing happened is caught here. Every step of the command has then failed once; returns
// how many steps there were.
template <typename Attempt>
int AtEveryStep(const StepFault& fault, const std::string& scratchFile, Attempt attempt)
{
    int nth = 1;
    for (; nth < 1000; ++nth) {
        os::ClearFaults();
        const bool failed = attempt(nth);
        const bool unreached = failed || StillPending(scratchFile);
        os::ClearFaults();
        if (!unreached) ADD_FAILURE() << fault.Name(nth) << " was met and ignored";
        if (!failed) break;
    }
    return nth - 1;
}

inline std::set<std::string> DescriptorsOpen()
{
#ifdef _WIN32
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    return {"handles " + std::to_string(handles)};
#else
    std::set<std::string> fds;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        fds.insert(entry.path().filename().string() + " " +
                   (entry.is_symlink() ? std::filesystem::read_symlink(entry.path()).string() : ""));
    return fds;
#endif
}

inline std::vector<std::string> FolderListing(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Closes a window made by `create` while its settings write fails at each step of each fault:
// the error box (`errors`) says so once, the window closes all the same, the folder holds the
// same files, and a failure at the first step leaves the settings file as it was. Every fault
// must meet at least the two writes of the window position.
template <typename Faults, typename Create>
void ExpectClosingSurvivesSettingsFaults(const Faults& faults, const std::string& settingsFile,
                                         const std::string& scratchFile, std::vector<QString>& errors,
                                         Create create)
{
    const std::string settings = "[Form]\r\nLeft=12\r\nTop=34\r\n";
    const std::filesystem::path folder = std::filesystem::path(settingsFile).parent_path();
    const QString message = QString::fromStdString(settingsFile) + QString::fromUtf8(" に書き込めません.");
    for (const StepFault& fault : faults) {
        const int steps = AtEveryStep(fault, scratchFile, [&](int nth) {
            std::ofstream(settingsFile, std::ios::binary | std::ios::trunc) << settings;
            auto form = create();
            const auto listing = FolderListing(folder);
            errors.clear();

            fault.InjectAt(nth);
            EXPECT_TRUE(form->close());
            EXPECT_FALSE(form->isVisible());
            if (errors.empty()) return false;
            SCOPED_TRACE(fault.Name(nth));
            EXPECT_EQ(errors, std::vector<QString>{message});
            EXPECT_EQ(FolderListing(folder), listing);
            if (nth == 1) {
                std::ifstream in(settingsFile, std::ios::binary);
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), settings);
            }
            return true;
        });
        EXPECT_GE(steps, 2) << fault.Name(0);
    }
}

// The process's peak resident memory so far, in KiB.
inline std::int64_t PeakResidentKiB()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<std::int64_t>(counters.PeakWorkingSetSize / 1024);
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6));
    return -1;
#endif
}

// A file of `size` bytes that occupies no disk: a hole up to its last byte.
inline bool MakeSparse(const std::string& path, std::uint64_t size)
{
#ifdef _WIN32
    const HANDLE file =
        ::CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool made = ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr) &&
                      ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    ::CloseHandle(file);
    return made;
#else
    std::ofstream(path, std::ios::binary | std::ios::trunc).close();
    return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
#endif
}

#ifndef _WIN32

// Within its scope this thread (the GUI thread, which does all file access) is refused by
// file modes as any user is, although tests run as root. Capabilities are per thread, and the
// permitted set is kept, so the scope's end raises them again.
class RefusedByModes {
public:
    RefusedByModes()
    {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            lowered[0].effective &= ~(1u << cap);
        active_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~RefusedByModes()
    {
        if (active_) ::syscall(SYS_capset, &header_, saved_);
    }
    RefusedByModes(const RefusedByModes&) = delete;
    RefusedByModes& operator=(const RefusedByModes&) = delete;
    bool Active() const { return active_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool active_ = false;
};
#endif

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace mirvel::reliability
