#pragma once

#include "common/LargeBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mirvel {

constexpr std::size_t FrancaisCapacity = 17;
constexpr std::size_t JaponaisCapacity = 41;
constexpr std::size_t RecordSize = 60;
// The longest values the editor lets a user type: one byte short of each capacity, so that
// every pair that can be typed or imported can also be edited; the extra byte is for files.
constexpr std::size_t MaxFrancaisBytes = 16;
constexpr std::size_t MaxJaponaisBytes = 40;
static_assert(MaxFrancaisBytes < FrancaisCapacity && MaxJaponaisBytes < JaponaisCapacity);

// One word pair exactly as it lies in a ".mirvel" file: two length-prefixed byte strings of
// fixed capacity. The bytes after each string's length are kept as they are (the file format
// carries them, and a save writes them back unchanged).
struct TWordRec {
    unsigned char Francais[1 + FrancaisCapacity];  // [0] length, then Windows-1252 bytes
    unsigned char Japonais[1 + JaponaisCapacity];  // [0] length, then Shift-JIS bytes

    // The significant bytes. A damaged length byte above the capacity yields the whole field,
    // never a byte beyond it.
    std::string_view FrancaisBytes() const;
    std::string_view JaponaisBytes() const;

    // Stores the value cut to the capacity by bytes (also inside a double-byte character);
    // only the length byte and the value's bytes are written, so a longer earlier tail stays.
    void SetFrancais(std::string_view bytes);
    void SetJaponais(std::string_view bytes);
};

static_assert(sizeof(TWordRec) == RecordSize, "a record is exactly 60 bytes with no gaps");
static_assert(offsetof(TWordRec, Francais) == 0);
static_assert(offsetof(TWordRec, Japonais) == 18);
static_assert(alignof(TWordRec) == 1);

// A program's in-memory word list. Growing value-initialises, so new records are zero-filled.
using WordList = std::vector<TWordRec, LargeBufferAllocator<TWordRec>>;

}  // namespace mirvel
