#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace editor {

// The keys by their Windows virtual-key codes, which is how the table names them on every
// platform.
constexpr int KeyF1 = 0x70;
constexpr int KeyF2 = 0x71;
constexpr int KeyF7 = 0x76;

struct AccentPair {
    int KeyCode;
    char Letter;
    unsigned char Replacement;  // one Windows-1252 byte
};

// Every letter and key that converts, each key's letters in the order they are tried.
const std::array<AccentPair, 28>& AccentTable();

bool IsAccentKey(int keyCode);

// The Windows-1252 byte that `keyCode` turns `letter` into; nullopt when the key leaves that
// letter (or any letter, for a key that isn't an accent key) as it is.
std::optional<unsigned char> AccentedLetter(int keyCode, char32_t letter);

// The help label of key F2 + `offset` (0 to 5): an example letter, the key, its accented form,
// as 13 Windows-1252 bytes.
std::string AccentHelpText(int offset);

}  // namespace editor
