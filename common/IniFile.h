#pragma once

#include <string>
#include <vector>

namespace mirvel {

// The settings file beside an executable: its extension replaced by ".ini", or ".ini"
// appended when the name has none.
std::string SettingsPathFor(const std::string& executablePath);

struct IniLine {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\r" or "\n" as in the file; empty for a last line without one
};

// A Windows profile (INI) file, read and written by the rules of Windows' own profile functions:
// - "[Section]" headers and "Key=Value" lines; a line ends at CR LF, at a CR alone or at an LF
//   alone; ";" starts a comment line; a line without "=" is a key whose value is empty.
// - Names match regardless of case as Windows matches them in code page 932: a double-byte
//   character counts whole, so its second byte is never a "]" or a letter, and only ASCII
//   letters fold. Blanks around names are dropped; the first of duplicate sections or keys
//   counts.
// - Blanks around a value are dropped, then a pair of matching quotes around it; values end at a
//   NUL byte and are cut to 2,047 bytes. Trailing spaces of the default are dropped.
// - The file is read once when the object is made. A write rewrites it atomically and changes
//   only the key's line: a new key goes after its section's last non-blank line, a new section
//   at the end of the file, with no empty line before it; new lines end in CR LF.
// Wine's profile functions rebuild the whole file on every write; this keeps every other line
// byte for byte, as Windows does: blank lines, comments, text after a section's "]", keys
// before the first section and each line's own line end. A UTF-8 byte order mark, which Wine
// reads as one and Windows doesn't, is left as part of the first line's text.
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
    std::vector<IniLine> lines_;
    bool readable_ = true;  // false: the file is there but couldn't be read
};

}  // namespace mirvel
