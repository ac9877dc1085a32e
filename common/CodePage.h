#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel {

enum class CodePage { Windows1252 = 1252, ShiftJis = 932 };

// Bytes of a code page to UTF-8. Never fails: a byte (or a broken double-byte sequence) without
// a mapping comes out as U+FFFD, so something is always shown.
std::string DecodeToUtf8(CodePage codePage, std::string_view bytes);

// Bytes that showed as U+FFFD: where they start among the bytes, how many they are (one byte,
// or a Shift-JIS pair without a character), and where their U+FFFD starts in the text.
struct UndecodableRun {
    std::size_t index = 0;
    std::size_t length = 0;
    std::size_t textOffset = 0;
};

// DecodeToUtf8 that also says which bytes didn't decode (appended to `undecodable`, in order),
// since a U+FFFD in the text can't be told apart from a real one.
std::string DecodeToUtf8(CodePage codePage, std::string_view bytes, std::vector<UndecodableRun>& undecodable);

// UTF-8 to bytes of a code page; nullopt when any character has no mapping there (no best-fit
// substitutes, no silent '?'), or when the input is not valid UTF-8.
std::optional<std::string> EncodeFromUtf8(CodePage codePage, std::string_view utf8);

namespace detail {
// The Shift-JIS bytes of each character of the Basic Multilingual Plane once the platform was
// asked: 1 << 24 | length << 16 | second << 8 | first, length 0 for none; 0 until asked.
extern std::atomic<std::uint32_t> shiftJisBytes[0x10000];
std::size_t EncodeCharAsking(CodePage codePage, char32_t c, char* out);
}  // namespace detail

// One character's bytes in a code page written at `out`, which has room for two, and their
// count; 0 when the code page lacks the character, as for EncodeFromUtf8. ASCII is itself in
// both. A Shift-JIS answer is remembered for the process, so that the boxes and a large import
// ask the platform's tables once per character; safe from any thread, and inline for the loops
// that see every character of an import.
inline std::size_t EncodeChar(CodePage codePage, char32_t c, char* out)
{
    if (c < 0x80 || (codePage == CodePage::Windows1252 && c >= 0xA0 && c <= 0xFF)) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (codePage == CodePage::ShiftJis && c < 0x10000) {
        const std::uint32_t packed = detail::shiftJisBytes[c].load(std::memory_order_relaxed);
        if (packed != 0) {
            out[0] = static_cast<char>(packed & 0xFF);
            out[1] = static_cast<char>((packed >> 8) & 0xFF);
            return (packed >> 16) & 0xFF;
        }
    }
    return detail::EncodeCharAsking(codePage, c, out);
}

// The character a code page holds for one it lacks where a standard gives both the same code, so
// that storing it loses nothing the user meant: JIS X 0208 codes the wave dash 〜 as Shift-JIS
// 0x8160, which Windows reads as ～, and French typography's narrow no-break space is the
// no-break space 0xA0 of Windows-1252. 0 for every other character: nothing else is guessed.
char32_t StandardEquivalent(CodePage codePage, char32_t c);

}  // namespace mirvel
