#pragma once

#include "common/CodePage.h"
#include "common/WordRec.h"

#include <cstddef>

namespace mirvel::convert {

// The two fields of a pair, with what each holds.
enum class Side { Francais, Japonais };

inline CodePage CodePageOf(Side side)
{
    return side == Side::Francais ? CodePage::Windows1252 : CodePage::ShiftJis;
}
inline std::size_t CapacityOf(Side side)
{
    return side == Side::Francais ? FrancaisCapacity : JaponaisCapacity;
}

// The longest values the editor lets a user type, so that every imported pair can be edited.
inline std::size_t EditorLimitOf(Side side)
{
    return side == Side::Francais ? MaxFrancaisBytes : MaxJaponaisBytes;
}

}  // namespace mirvel::convert
