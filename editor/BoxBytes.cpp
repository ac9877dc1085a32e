#include "editor/BoxBytes.h"

#include "common/Utf8Text.h"

#include <algorithm>

namespace editor {
namespace {

// Bytes that the code page could not decode are shown as U+FFFD; each stands for one byte.
constexpr char16_t ReplacementCharacter = 0xFFFD;

// The bytes of one UTF-16 unit in the code page; 0 when it has no place there. A lone half of
// a surrogate pair has none: characters beyond the Basic Multilingual Plane (an emoji, a flag)
// fit neither code page, and each half is refused on its own so that a pair is never judged,
// or stored, as the "?" a lone half converts to.
std::size_t UnitBytes(mirvel::CodePage codePage, char16_t unit)
{
    char bytes[2];
    return unit == ReplacementCharacter ? 1 : mirvel::EncodeChar(codePage, unit, bytes);
}

std::size_t ByteLength(mirvel::CodePage codePage, std::u16string_view text)
{
    std::size_t total = 0;
    for (const char16_t unit : text) total += std::max<std::size_t>(UnitBytes(codePage, unit), 1);
    return total;
}

}  // namespace

bool FitBoxInput(mirvel::CodePage codePage, std::size_t maxBytes, std::u16string_view before,
                 std::u16string& text, std::size_t& caret)
{
    // The inserted part is what lies between the longest common start and end of the two texts.
    const std::size_t shorter = std::min(before.size(), text.size());
    std::size_t start = 0;
    while (start < shorter && before[start] == text[start]) ++start;
    std::size_t end = 0;
    while (end < shorter - start && before[before.size() - 1 - end] == text[text.size() - 1 - end]) ++end;
    std::size_t insertedEnd = text.size() - end;

    for (std::size_t i = start; i < insertedEnd; ++i) {
        if (UnitBytes(codePage, text[i]) > 0) continue;
        const char32_t equivalent = mirvel::StandardEquivalent(codePage, text[i]);
        if (equivalent == 0) return false;
        text[i] = static_cast<char16_t>(equivalent);  // all of them in the Basic Multilingual Plane
    }

    std::size_t total = ByteLength(codePage, text);
    if (total <= maxBytes) return true;
    const std::size_t ceiling = std::max(maxBytes, ByteLength(codePage, before));
    const std::size_t insertedLength = insertedEnd - start;
    while (total > ceiling && insertedEnd > start) {
        total -= UnitBytes(codePage, text[insertedEnd - 1]);
        text.erase(insertedEnd - 1, 1);
        if (caret >= insertedEnd) --caret;
        --insertedEnd;
    }
    // Nothing of the insertion fits: refuse the keystroke (or paste) as a whole.
    return total <= ceiling && !(insertedLength > 0 && insertedEnd == start);
}

std::string BoxBytes(mirvel::CodePage codePage, std::string_view text, std::string_view stored)
{
    if (text == mirvel::DecodeToUtf8(codePage, stored)) return std::string(stored);
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        char bytes[2];
        const std::size_t length = mirvel::EncodeChar(codePage, mirvel::NextUtf8(text, at), bytes);
        result.append(length > 0 ? bytes : "?", length > 0 ? length : 1);
    }
    return result;
}

}  // namespace editor
