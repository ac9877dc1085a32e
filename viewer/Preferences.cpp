#include "viewer/Preferences.h"

#include "common/IniFile.h"
#include "common/IntParse.h"

#include <algorithm>

namespace viewer {
namespace {

const std::string UserSection = "User";

std::string FlagText(bool value) { return value ? "true" : "false"; }

bool ReadFlag(const mirvel::TIniFile& ini, const std::string& key, bool byDefault)
{
    const std::string text = ini.ReadString(UserSection, key, FlagText(byDefault));
    return text == FlagText(!byDefault) ? !byDefault : byDefault;
}

int ReadSize(const mirvel::TIniFile& ini, const std::string& key, int byDefault)
{
    return UsableFontSize(mirvel::StrToInt(ini.ReadString(UserSection, key, std::to_string(byDefault))));
}

}  // namespace

int UsableFontSize(int points) { return std::clamp(points, MinFontSize, MaxFontSize); }

void ReadPreferences(const mirvel::TIniFile& ini, PreferenceValues& values)
{
    const PreferenceValues defaults;
    values.Order = ini.ReadString(UserSection, "Order", defaults.Order);
    values.FSize = ReadSize(ini, "FSize", defaults.FSize);
    values.FBold = ReadFlag(ini, "FBold", defaults.FBold);
    values.JSize = ReadSize(ini, "JSize", defaults.JSize);
    values.JBold = ReadFlag(ini, "JBold", defaults.JBold);
    values.ShowHint = ReadFlag(ini, "ShowHint", defaults.ShowHint);
    values.ShowNumber = ReadFlag(ini, "ShowNumber", defaults.ShowNumber);
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
