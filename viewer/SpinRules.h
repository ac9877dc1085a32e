#pragma once

#include <string>

namespace viewer {

// The rules of the spin box, kept apart from the widget.

// Characters that may be typed: digits, the signs, the decimal separator and control characters
// other than Enter (Backspace, Delete and the Ctrl shortcuts among them).
bool IsSpinEditChar(char32_t c, char32_t decimalSeparator);

// The value the text stands for, unclamped; `minValue` when it is not an integer.
int SpinEditValueOf(const std::string& text, int minValue);

// The range applies only when the two bounds differ.
int ClampSpinValue(long long value, int minValue, int maxValue);

}  // namespace viewer
