#include "common/Placement.h"

#include "common/IniFile.h"
#include "common/IntParse.h"

#include <algorithm>
#include <string>

namespace mirvel {
namespace {

std::int32_t ReadFormCoordinate(const TIniFile& ini, const char* key, std::int32_t screenExtent,
                                std::int32_t windowExtent)
{
    const std::int32_t fallback = DefaultPlacement(screenExtent, windowExtent);
    return StrToInt(ini.ReadString("Form", key, std::to_string(fallback)));
}

}  // namespace

std::int32_t DefaultPlacement(std::int32_t screenExtent, std::int32_t windowExtent)
{
    // In 64 bits, so that no extent pair can overflow; the half of a 33-bit difference fits.
    return static_cast<std::int32_t>((static_cast<std::int64_t>(screenExtent) - windowExtent) / 2);
}

std::int32_t ReadFormLeft(const TIniFile& ini, std::int32_t screenWidth, std::int32_t windowWidth)
{
    return ReadFormCoordinate(ini, "Left", screenWidth, windowWidth);
}

std::int32_t ReadFormTop(const TIniFile& ini, std::int32_t screenHeight, std::int32_t windowHeight)
{
    return ReadFormCoordinate(ini, "Top", screenHeight, windowHeight);
}

bool HasFormValue(const TIniFile& ini, const char* key)
{
    // No stored value equals both defaults.
    return ini.ReadString("Form", key, "0") != "0" || ini.ReadString("Form", key, "1") != "1";
}

bool GripOnScreen(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas)
{
    const auto overlap = [](std::int64_t start, std::int64_t length, std::int64_t areaStart,
                            std::int64_t areaLength) {
        return std::min(start + length, areaStart + areaLength) - std::max(start, areaStart);
    };
    return std::any_of(workAreas.begin(), workAreas.end(), [&](const ScreenRect& area) {
        return overlap(grip.Left, grip.Width, area.Left, area.Width) >= GripSize &&
               overlap(grip.Top, grip.Height, area.Top, area.Height) >= GripSize;
    });
}

void WriteFormPosition(TIniFile& ini, std::int32_t left, std::int32_t top)
{
    ini.WriteString("Form", "Left", std::to_string(left));
    ini.WriteString("Form", "Top", std::to_string(top));
}

}  // namespace mirvel
