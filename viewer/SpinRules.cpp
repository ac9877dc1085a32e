#include "viewer/SpinRules.h"

#include "common/IntParse.h"

#include <algorithm>
#include <climits>

namespace viewer {

bool IsSpinEditChar(char32_t c, char32_t decimalSeparator)
{
    if (c >= U'0' && c <= U'9') return true;
    if (c == U'+' || c == U'-' || c == decimalSeparator) return true;
    // Delete comes as the control character DEL.
    return (c < 0x20 && c != U'\r') || c == 0x7F;
}

int SpinEditValueOf(const std::string& text, int minValue)
{
    return mirvel::TryStrToInt(text).value_or(minValue);
}

int ClampSpinValue(long long value, int minValue, int maxValue)
{
    if (minValue != maxValue) {
        if (value < minValue) return minValue;
        if (value > maxValue) return maxValue;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace viewer
