#pragma once

#include <string>

namespace mirvel {
class TIniFile;
}

namespace viewer {

// The card's display preferences, as the card window, the settings dialog and the settings
// file exchange them. The initial values are the defaults: what a card shows with no settings
// file and what the dialog's default button restores.
struct PreferenceValues {
    std::string Order = "FJ";
    int FSize = 9;
    bool FBold = true;
    int JSize = 9;
    bool JBold = false;
    bool ShowHint = true;
    bool ShowNumber = true;
};

// Sizes are applied within these bounds so that the card stays usable whatever the file holds.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 96;
int UsableFontSize(int points);

// Section "User", keys in the order they are read and written; a missing key gives the default.
// Only the exact word flips a default flag ("false" removes French bold, "true" adds Japanese
// bold...). Each value goes into `values` as soon as it is read: a size that is not an integer
// throws MessageError and leaves every later value as `values` had it.
void ReadPreferences(const mirvel::TIniFile& ini, PreferenceValues& values);
void WritePreferences(mirvel::TIniFile& ini, const PreferenceValues& values);

}  // namespace viewer
