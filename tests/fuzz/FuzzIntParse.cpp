// The settings' integer conversion on any text: it never crashes, what it accepts it reads as
// the C library reads the same digits, the value converts back to text that reads as the same
// value (decimal and hex), and the throwing form agrees with the optional one.
#include "tests/fuzz/FuzzScratch.h"

#include "common/InOutError.h"
#include "common/IntParse.h"
#include "common/os/SystemText.h"

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The accepted text's value by the C library, from its own reading of the grammar.
std::int32_t Expected(const std::string& text)
{
    std::size_t at = text.find_first_not_of(' ');
    FUZZ_CHECK(at != std::string::npos);
    std::size_t digits = at;
    const bool hex = text[at] == '$' || text[at] == 'x' || text[at] == 'X' ||
                     (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0);
    if (hex) {
        digits = text[at] == '0' ? at + 2 : at + 1;
        FUZZ_CHECK(digits < text.size());
        for (std::size_t i = digits; i < text.size(); ++i) FUZZ_CHECK(IsHexDigit(text[i]));
        errno = 0;
        const unsigned long long value = std::strtoull(text.c_str() + digits, nullptr, 16);
        FUZZ_CHECK(errno == 0 && value <= 0xFFFFFFFFull);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    if (text[digits] == '+' || text[digits] == '-') ++digits;
    FUZZ_CHECK(digits < text.size());
    for (std::size_t i = digits; i < text.size(); ++i) FUZZ_CHECK(IsDigit(text[i]));
    errno = 0;
    const long long value = std::strtoll(text.c_str() + at, nullptr, 10);
    FUZZ_CHECK(errno == 0 && value >= INT32_MIN && value <= INT32_MAX);
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> value = mirvel::TryStrToInt(text);

    bool threw = false;
    try {
        const std::int32_t thrown = mirvel::StrToInt(text);
        FUZZ_CHECK(value && thrown == *value);
    } catch (const mirvel::MessageError& error) {
        threw = true;
        // The error box gets what() as a C string: a NUL in the text ends the message there
        // (settings values never hold one: reading cuts them at it).
        const std::string message = "'" + mirvel::os::SystemTextToUtf8(text) + "' は整数ではありません";
        FUZZ_CHECK(std::string(error.what()) == message.substr(0, message.find('\0')));
    }
    FUZZ_CHECK(threw == !value.has_value());
    if (!value) return 0;

    FUZZ_CHECK(*value == Expected(text));
    FUZZ_CHECK(mirvel::TryStrToInt(std::to_string(*value)) == value);
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%" PRIX32, static_cast<std::uint32_t>(*value));
    FUZZ_CHECK(mirvel::TryStrToInt(hex) == value);
    return 0;
}
