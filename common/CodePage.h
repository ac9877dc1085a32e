#pragma once

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

// The character a code page holds for one it lacks where a standard gives both the same code, so
// that storing it loses nothing the user meant: JIS X 0208 codes the wave dash 〜 as Shift-JIS
// 0x8160, which Windows reads as ～, and French typography's narrow no-break space is the
// no-break space 0xA0 of Windows-1252. 0 for every other character: nothing else is guessed.
char32_t StandardEquivalent(CodePage codePage, char32_t c);

}  // namespace mirvel
