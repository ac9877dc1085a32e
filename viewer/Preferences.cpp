#include "Preferences.h"

#include "IniFile.h"
#include "IntParse.h"

#include <algorithm>

namespace viewer {
namespace {

const std::string UserSection = "User";

std::string FlagText(bool value) { return value ? "true" : "false"; }

}  // namespace

int UsableFontSize(int points) { return std::clamp(points, MinFontSize, MaxFontSize); }

void ReadPreferences(const mirvel::TIniFile& ini, PreferenceTarget& target)
{
    target.SetOrder(ini.ReadString(UserSection, "Order", "FJ"));
    target.SetFrancaisSize(UsableFontSize(mirvel::StrToInt(ini.ReadString(UserSection, "FSize", "9"))));
    if (ini.ReadString(UserSection, "FBold", "true") == "false") target.SetFrancaisBold(false);
    target.SetJaponaisSize(UsableFontSize(mirvel::StrToInt(ini.ReadString(UserSection, "JSize", "9"))));
    if (ini.ReadString(UserSection, "JBold", "false") == "true") target.SetJaponaisBold(true);
    if (ini.ReadString(UserSection, "ShowHint", "true") == "false") target.SetShowHint(false);
    if (ini.ReadString(UserSection, "ShowNumber", "true") == "false") target.SetShowNumber(false);
}

void WritePreferences(mirvel::TIniFile& ini, const PreferenceValues& values)
{
    ini.WriteString(UserSection, "Order", values.Order);
    ini.WriteString(UserSection, "FSize", std::to_string(values.FSize));
    ini.WriteString(UserSection, "FBold", FlagText(values.FBold));
    ini.WriteString(UserSection, "JSize", std::to_string(values.JSize));
    ini.WriteString(UserSection, "JBold", FlagText(values.JBold));
    ini.WriteString(UserSection, "ShowHint", FlagText(values.ShowHint));
    ini.WriteString(UserSection, "ShowNumber", FlagText(values.ShowNumber));
}

}  // namespace viewer
