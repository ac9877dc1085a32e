#pragma once

#include <string>

namespace mirvel {
class TIniFile;
}

namespace viewer {

// The display preferences live in the card window's controls, not in an object of their own.
// Reading hands each value to the window as soon as it is read, so that a value that fails to
// convert leaves every later preference at its declared value.
class PreferenceTarget {
public:
    virtual ~PreferenceTarget() = default;
    virtual void SetOrder(const std::string& order) = 0;
    virtual void SetFrancaisSize(int points) = 0;
    virtual void SetFrancaisBold(bool bold) = 0;
    virtual void SetJaponaisSize(int points) = 0;
    virtual void SetJaponaisBold(bool bold) = 0;
    virtual void SetShowHint(bool show) = 0;
    virtual void SetShowNumber(bool show) = 0;
};

// A snapshot of the live values, taken when they are written.
struct PreferenceValues {
    std::string Order;
    int FSize;
    bool FBold;
    int JSize;
    bool JBold;
    bool ShowHint;
    bool ShowNumber;
};

// Sizes are applied within these bounds so that the card stays usable whatever the file holds.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 96;
int UsableFontSize(int points);

// Section "User", keys in the order they are read and written. Only the exact word flips a
// declared flag ("false" removes French bold, "true" adds Japanese bold...). A size that is not
// an integer throws MessageError before anything after it is read.
void ReadPreferences(const mirvel::TIniFile& ini, PreferenceTarget& target);
void WritePreferences(mirvel::TIniFile& ini, const PreferenceValues& values);

}  // namespace viewer
