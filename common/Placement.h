#pragma once

#include <cstdint>

namespace mirvel {

class TIniFile;

// (screen − window) div 2, rounding toward zero.
std::int32_t DefaultPlacement(std::int32_t screenExtent, std::int32_t windowExtent);

// "Form"/"Left" and "Form"/"Top", with the centring default written as a decimal string;
// throws MessageError when the stored text is not an integer.
std::int32_t ReadFormLeft(const TIniFile& ini, std::int32_t screenWidth, std::int32_t windowWidth);
std::int32_t ReadFormTop(const TIniFile& ini, std::int32_t screenHeight, std::int32_t windowHeight);

// Writes "Form"/"Left" and then "Form"/"Top".
void WriteFormPosition(TIniFile& ini, std::int32_t left, std::int32_t top);

}  // namespace mirvel
