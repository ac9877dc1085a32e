// mirvel-convert: word lists in and out of ".mirvel" files.
#include "convert/Commands.h"
#include "common/os/File.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "common/os/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <streambuf>

namespace {

// A console is written in UTF-16 through WriteConsoleW, which shows every character whatever
// the console's code page, so the code page of the command prompt the converter runs in is
// neither needed nor changed. Files and pipes get the UTF-8 bytes unchanged.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(bytes_, bytes_ + sizeof bytes_); }
    ConsoleBuffer(const ConsoleBuffer&) = delete;
    ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;
    ~ConsoleBuffer() override { Write(true); }

protected:
    int_type overflow(int_type c) override
    {
        if (!Write(false)) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    int sync() override { return Write(false) ? 0 : -1; }

private:
    // Writes what is buffered, but keeps a character whose bytes have not all arrived (an
    // unbuffered stream such as std::cerr flushes after every insertion), unless `all`.
    bool Write(bool all)
    {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t complete = all ? size : CompletePart(size);
        bool ok = true;
        if (complete > 0) {
            // Bytes that aren't UTF-8 (an export in Shift-JIS to the console) show as U+FFFD.
            const int length = static_cast<int>(complete);
            const int wideLength = ::MultiByteToWideChar(CP_UTF8, 0, bytes_, length, nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
            ::MultiByteToWideChar(CP_UTF8, 0, bytes_, length, wide.data(), wideLength);
            for (std::size_t done = 0; ok && done < wide.size();) {
                DWORD written = 0;
                const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
                ok = ::WriteConsoleW(console_, wide.data() + done, chunk, &written, nullptr) && written > 0;
                done += written;
            }
        }
        const std::size_t rest = size - complete;
        std::memmove(bytes_, bytes_ + complete, rest);
        setp(bytes_, bytes_ + sizeof bytes_);
        pbump(static_cast<int>(rest));
        return ok;
    }

    // The length of the buffer's prefix that ends on a character boundary.
    std::size_t CompletePart(std::size_t size) const
    {
        for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
            const auto byte = static_cast<unsigned char>(bytes_[size - back]);
            if (byte < 0x80) return size;
            if (byte >= 0xC0) {
                const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
                return needed > back ? size - back : size;
            }
        }
        return size;
    }

    HANDLE console_;
    char bytes_[4096];
};

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode);
}

}  // namespace
#endif

int main(int argc, char** argv)
{
    mirvel::os::IgnoreFileSizeLimitSignal();
    std::vector<std::string> args;
#ifdef _WIN32
    // The file names are UTF-8 throughout; argv would be in the ANSI code page.
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) args.push_back(mirvel::os::Utf8FromUtf16(wide[i]));
    ::LocalFree(wide);
    (void)argc;
    (void)argv;
#else
    args.assign(argv + 1, argv + argc);
#endif
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    // Standard output carries an export's bytes, whose line ends are already the table's: text
    // mode would turn each CR LF into CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    const HANDLE outHandle = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errHandle = ::GetStdHandle(STD_ERROR_HANDLE);
    ConsoleBuffer outConsole(outHandle);
    ConsoleBuffer errConsole(errHandle);
    std::streambuf* const outBytes = IsConsole(outHandle) ? std::cout.rdbuf(&outConsole) : nullptr;
    std::streambuf* const errBytes = IsConsole(errHandle) ? std::cerr.rdbuf(&errConsole) : nullptr;
#endif
    const int code = mirvel::convert::RunConvert(args, std::cout, std::cerr);
    std::cout.flush();
    const bool written = static_cast<bool>(std::cout);
#ifdef _WIN32
    if (outBytes) std::cout.rdbuf(outBytes);
    if (errBytes) std::cerr.rdbuf(errBytes);
#endif
    return written ? code : mirvel::convert::ExitProblems;
}
