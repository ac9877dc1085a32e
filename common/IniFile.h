#pragma once

#include <string>
#include <vector>

namespace mirvel {

// The settings file beside an executable: its extension replaced by ".ini", or ".ini"
// appended when the name has none.
std::string SettingsPathFor(const std::string& executablePath);

// A Windows profile (INI) file: "[Section]" headers, "Key=Value" lines, CRLF line ends.
// Section and key names match regardless of (ASCII) case; the first of duplicate sections or
// keys counts; ";" starts a comment line. Blanks around a value are dropped on reading, then a
// pair of matching quotes around it; values end at a NUL byte and are cut to 2,047 bytes. The
// file is read once when the object is made and every write rewrites it atomically, keeping
// every other line as it was: a new key goes after its section's last non-blank line, a new
// section at the end after an empty line.
class TIniFile {
public:
    explicit TIniFile(std::string path);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Creates the file, section and key as needed. Throws MessageError
    // "<path> に書き込めません" when the file can't be written, or couldn't be read when the
    // object was made; the old file then stays as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::vector<std::string> lines_;  // without line ends
    bool readable_ = true;            // false: the file is there but couldn't be read
};

}  // namespace mirvel
