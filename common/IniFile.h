#pragma once

#include <string>
#include <vector>

namespace mirvel {

// The settings file beside an executable: its extension replaced by ".ini", or ".ini"
// appended when the name has none.
std::string SettingsPathFor(const std::string& executablePath);

// A Windows profile (INI) file: "[Section]" headers, "Key=Value" lines, CRLF line ends.
// Section and key names match regardless of (ASCII) case; blanks around a value are dropped on
// reading; values are cut to 2,047 bytes. The file is read once when the object is made and
// every write rewrites it atomically, keeping every other line as it was.
class TIniFile {
public:
    explicit TIniFile(std::string path);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Creates the file, section and key as needed. Throws MessageError
    // "<path> に書き込めません" when the file can't be written; the old file then stays as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> lines_;  // without line ends
};

}  // namespace mirvel
