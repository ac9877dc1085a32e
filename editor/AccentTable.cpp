#include "editor/AccentTable.h"

namespace editor {

const std::array<AccentPair, 28>& AccentTable()
{
    // One group of lines per key.
    // clang-format off
    static const std::array<AccentPair, 28> table{{
        {0x71, 'E', 0xC9}, {0x71, 'e', 0xE9},
        {0x72, 'E', 0xC8}, {0x72, 'e', 0xE8}, {0x72, 'A', 0xC0}, {0x72, 'a', 0xE0}, {0x72, 'U', 0xD9},
        {0x72, 'u', 0xF9},
        {0x73, 'A', 0xC2}, {0x73, 'a', 0xE2}, {0x73, 'E', 0xCA}, {0x73, 'e', 0xEA}, {0x73, 'I', 0xCE},
        {0x73, 'i', 0xEE}, {0x73, 'O', 0xD4}, {0x73, 'o', 0xF4}, {0x73, 'U', 0xDB}, {0x73, 'u', 0xFB},
        {0x74, 'E', 0xCB}, {0x74, 'e', 0xEB}, {0x74, 'I', 0xCF}, {0x74, 'i', 0xEF}, {0x74, 'U', 0xDC},
        {0x74, 'u', 0xFC},
        {0x75, 'C', 0xC7}, {0x75, 'c', 0xE7},
        {0x76, 'O', 0x8C}, {0x76, 'o', 0x9C},
    }};
    // clang-format on
    return table;
}

bool IsAccentKey(int keyCode) { return keyCode >= KeyF2 && keyCode <= KeyF7; }

std::optional<unsigned char> AccentedLetter(int keyCode, char32_t letter)
{
    for (const auto& pair : AccentTable()) {
        if (pair.KeyCode == keyCode && static_cast<char32_t>(pair.Letter) == letter) return pair.Replacement;
    }
    return std::nullopt;
}

std::string AccentHelpText(int offset)
{
    // One everyday example per key; the capitals work just the same.
    static const char examples[] = {'e', 'e', 'e', 'e', 'c', 'o'};
    const char letter = examples[offset];
    const auto accented = AccentedLetter(KeyF2 + offset, static_cast<char32_t>(letter));
    if (!accented) return {};
    std::string text{letter};
    text += " , F" + std::to_string(offset + 2) + " ... ";
    text += static_cast<char>(*accented);
    text += ' ';
    return text;
}

}  // namespace editor
