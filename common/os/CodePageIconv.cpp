#include "common/os/ShiftJis.h"

#include <iconv.h>

namespace mirvel::os {
namespace {

// One iconv descriptor per direction and thread: opening one costs far more than a conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter()
    {
        if (Usable()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> operator()(std::string_view in)
    {
        if (!Usable()) return std::nullopt;
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        // Either direction: a byte becomes at most three UTF-8 bytes, and never grows otherwise.
        std::string out(in.size() * 3, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (::iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view bytes)
{
    thread_local Converter convert("UTF-8", "CP932");
    return convert(bytes);
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8)
{
    thread_local Converter convert("CP932", "UTF-8");
    return convert(utf8);
}

}  // namespace mirvel::os
