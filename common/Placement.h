#pragma once

#include <cstdint>
#include <vector>

namespace mirvel {

class TIniFile;

// (screen − window) div 2, rounding toward zero.
std::int32_t DefaultPlacement(std::int32_t screenExtent, std::int32_t windowExtent);

// "Form"/"Left" and "Form"/"Top", with the centring default written as a decimal string;
// throws MessageError when the stored text is not an integer.
std::int32_t ReadFormLeft(const TIniFile& ini, std::int32_t screenWidth, std::int32_t windowWidth);
std::int32_t ReadFormTop(const TIniFile& ini, std::int32_t screenHeight, std::int32_t windowHeight);

// Whether "Form"/`key` holds a value of its own, so that no default placed the window.
bool HasFormValue(const TIniFile& ini, const char* key);

// A rectangle in screen pixels, wide enough for any 32-bit position plus an offset.
struct ScreenRect {
    std::int64_t Left;
    std::int64_t Top;
    std::int64_t Width;
    std::int64_t Height;
};

// How much of a window the user needs on a screen to take hold of it and move it back.
inline constexpr std::int32_t GripSize = 16;

// True when `grip`, the part of a window the user drags it by, shows at least GripSize ×
// GripSize pixels on one of the screens' work areas.
bool GripOnScreen(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas);

// Writes "Form"/"Left" and then "Form"/"Top".
void WriteFormPosition(TIniFile& ini, std::int32_t left, std::int32_t top);

}  // namespace mirvel
