#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

namespace mirvel::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir()
    {
        auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            path_ = base / ("mirvel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // UTF-8 in and out, as the programs' file layer takes paths, on Windows too, where a narrow
    // path would otherwise go through the system code page.
    std::string File(const std::string& name) const
    {
        return (path_ / std::filesystem::u8path(name)).u8string();
    }

private:
    static int& counter()
    {
        static int value = 0;
        return value;
    }
    std::filesystem::path path_;
};

// Paths are UTF-8, as the file layer takes them; a narrow name would go through the Windows
// code page and miss a Japanese file.
inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace mirvel::test
