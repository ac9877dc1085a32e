#include "common/CodePage.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

#ifdef _WIN32
#include "common/os/Utf16.h"
#else
#include <iconv.h>
#endif

// Code page 1252 goes through the project's own table on both platforms, so that they decode
// alike; here that table meets the platform's own (the system's on Windows, iconv's here).

namespace mirvel {
namespace {

#ifdef _WIN32
std::optional<std::string> SystemDecode(std::string_view bytes)
{
    const auto wide = os::Utf16FromCodePage(1252, bytes);
    if (!wide) return std::nullopt;
    return os::Utf8FromUtf16(*wide);
}

std::optional<std::string> SystemEncode(std::string_view utf8)
{
    const auto wide = os::Utf16FromUtf8(utf8);
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int length =
        ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide->data(), static_cast<int>(wide->size()), bytes,
                              sizeof bytes, nullptr, &usedDefault);
    if (length == 0 || usedDefault) return std::nullopt;
    return std::string(bytes, static_cast<std::size_t>(length));
}
#else
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in)
{
    const iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(8, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool done = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    if (!done) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> SystemDecode(std::string_view bytes) { return Convert("UTF-8", "CP1252", bytes); }
std::optional<std::string> SystemEncode(std::string_view utf8) { return Convert("CP1252", "UTF-8", utf8); }
#endif

// The five bytes without a character: Windows, and the own table with it, pass them through as
// the C1 controls of the same value both ways; iconv refuses them.
bool IsUndefined(unsigned c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; }

std::string Utf8(char32_t c)
{
    std::string out;
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

TEST(Windows1252, DecodesEveryByteAsThePlatformDoes)
{
    for (unsigned byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string one(1, static_cast<char>(byte));
        const auto system = SystemDecode(one);
        if (IsUndefined(byte)) {
            EXPECT_EQ(DecodeToUtf8(CodePage::Windows1252, one), Utf8(byte));
            EXPECT_TRUE(!system || *system == Utf8(byte));
        } else {
            EXPECT_EQ(DecodeToUtf8(CodePage::Windows1252, one), system);
        }
    }
}

TEST(Windows1252, EncodesEveryCharacterAsThePlatformDoes)
{
    int encodable = 0;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string text = Utf8(c);
        const auto own = EncodeFromUtf8(CodePage::Windows1252, text);
        if (own) ++encodable;
        if (IsUndefined(c)) {
            EXPECT_EQ(own, std::string(1, static_cast<char>(c))) << std::hex << static_cast<unsigned>(c);
            const auto system = SystemEncode(text);
            EXPECT_TRUE(!system || *system == own) << std::hex << static_cast<unsigned>(c);
            continue;
        }
        ASSERT_EQ(own, SystemEncode(text)) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(encodable, 255);
}

}  // namespace
}  // namespace mirvel
