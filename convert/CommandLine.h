#pragma once

#include "convert/Export.h"
#include "convert/Import.h"
#include "convert/TextEncoding.h"
#include "convert/Workbook.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirvel::convert {

enum class CommandKind { Overview, Import, Export, Check, List };

struct CommandLine {
    CommandKind kind = CommandKind::Overview;
    bool help = false;
    std::string input;
    std::string output;
    std::optional<bool> csv;  // --csv or --tsv; else the text file's extension decides
    std::optional<TextEncoding> encoding;
    // The import's and the export's options as given; csv, the encoding and a workbook's cells
    // are the command's to decide, from the files' names where no option says.
    ImportOptions importOptions;
    std::optional<SheetChoice> sheet;  // a workbook's sheet, by name or number from 1
    ExportOptions exportOptions;
};

// A command line that can't be run; what() is the Japanese reason.
class UsageError : public std::runtime_error {
public:
    UsageError(CommandKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    CommandKind Kind() const { return kind_; }

private:
    CommandKind kind_;
};

// The arguments after the program's name. -h or --help anywhere asks for the command's help
// whatever else is there; options may come before or after the file, "--" ends them.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The --help text of a command (Overview: the program's), in Japanese, ending in a line feed.
std::string HelpText(CommandKind kind);

// The line that follows a usage error, pointing at the right help.
std::string HelpHint(CommandKind kind);

// Whether a file's name ends in the extension (".csv", any case).
bool HasExtension(const std::string& path, const std::string& extension);
inline bool HasCsvExtension(const std::string& path) { return HasExtension(path, ".csv"); }

}  // namespace mirvel::convert
