#include "common/WordRec.h"

#include <algorithm>
#include <cstring>

namespace mirvel {
namespace {

std::string_view FieldBytes(const unsigned char* field, std::size_t capacity)
{
    const std::size_t length = std::min<std::size_t>(field[0], capacity);
    return {reinterpret_cast<const char*>(field + 1), length};
}

void StoreField(unsigned char* field, std::size_t capacity, std::string_view bytes)
{
    const std::size_t length = std::min(bytes.size(), capacity);
    field[0] = static_cast<unsigned char>(length);
    if (length > 0) std::memcpy(field + 1, bytes.data(), length);
}

}  // namespace

std::string_view TWordRec::FrancaisBytes() const { return FieldBytes(Francais, FrancaisCapacity); }
std::string_view TWordRec::JaponaisBytes() const { return FieldBytes(Japonais, JaponaisCapacity); }
void TWordRec::SetFrancais(std::string_view bytes) { StoreField(Francais, FrancaisCapacity, bytes); }
void TWordRec::SetJaponais(std::string_view bytes) { StoreField(Japonais, JaponaisCapacity, bytes); }

}  // namespace mirvel
