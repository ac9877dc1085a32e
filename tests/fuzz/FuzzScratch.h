#pragma once

// A private folder for the files a fuzz target writes, on a memory file system where there is
// one (the targets write and flush a file on every run), removed when the process ends.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace mirvel::fuzz {

class Scratch {
public:
    static const Scratch& Get()
    {
        static const Scratch scratch;
        return scratch;
    }
    std::string File(const char* name) const { return folder_ + "/" + name; }

    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

private:
    Scratch()
    {
        std::error_code error;
        std::string base = std::filesystem::is_directory("/dev/shm", error)
                               ? std::string("/dev/shm")
                               : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/mirvel-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder_ = pattern;
    }
    ~Scratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string folder_;
};

// A failed property: libFuzzer keeps the input that made it.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

}  // namespace mirvel::fuzz
