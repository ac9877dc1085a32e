#include "convert/CommandLine.h"

#include "convert/AnkiHeaders.h"
#include "convert/Workbook.h"

#include <cctype>
#include <utility>

namespace mirvel::convert {
namespace {

constexpr std::pair<const char*, CommandKind> CommandNames[] = {
    {"import", CommandKind::Import},
    {"export", CommandKind::Export},
    {"check", CommandKind::Check},
    {"list", CommandKind::List},
};

std::optional<CommandKind> CommandNamed(const std::string& name)
{
    for (const auto& [command, kind] : CommandNames)
        if (name == command) return kind;
    return std::nullopt;
}

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

bool IsTextFileName(const std::string& path)
{
    return HasExtension(path, ".tsv") || HasExtension(path, ".csv") || HasExtension(path, ".txt");
}

class Parser {
public:
    Parser(CommandKind kind, const std::vector<std::string>& args)
        : args_(args), import_(kind == CommandKind::Import), export_(kind == CommandKind::Export)
    {
        line_.kind = kind;
    }

    CommandLine Run()
    {
        bool optionsEnded = false;
        for (at_ = 1; at_ < args_.size(); ++at_) {
            const std::string& arg = args_[at_];
            if (!optionsEnded && arg == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
                Option(arg);
            } else if (!sawInput_) {
                line_.input = arg;
                sawInput_ = true;
            } else {
                Fail("入力ファイルは 1 つだけ指定してください: " + arg);
            }
        }
        if (!sawInput_) Fail("入力ファイルを指定してください");
        if ((import_ || export_) && line_.output.empty()) Fail("出力ファイルを -o で指定してください");
        if (line_.exportOptions.bom && line_.encoding && *line_.encoding != TextEncoding::Utf8)
            Fail("--bom は UTF-8 で書き出すときだけ使えます");
        if (line_.exportOptions.anki) RefuseAnkiConflicts();
        if (import_) RefuseSheetConflicts();
        // A slip of the extension would put records over a word table or text over a word
        // list; both are more likely a mistake than a wish.
        if (import_ && IsTextFileName(line_.output))
            Fail("出力先 " + line_.output +
                 " はテキストの単語表の名前です。.mirvel ファイルを指定してください");
        if (import_ && line_.output == "-")
            Fail("単語リストは標準出力 (-) には書き出せません。.mirvel ファイルを指定してください");
        if (export_ && HasExtension(line_.output, ".mirvel"))
            Fail("出力先 " + line_.output +
                 " は .mirvel ファイルの名前です。.tsv か .csv のファイルを指定してください");
        return line_;
    }

private:
    void Option(const std::string& arg)
    {
        std::string name = arg;
        std::optional<std::string> value;
        if (arg.rfind("--", 0) == 0) {
            const auto equals = arg.find('=');
            if (equals != std::string::npos) name = arg.substr(0, equals), value = arg.substr(equals + 1);
        } else if (arg.rfind("-o", 0) == 0 && arg.size() > 2) {
            name = "-o", value = arg.substr(2);
        }

        if ((name == "-o" || name == "--output") && (import_ || export_)) {
            if (!line_.output.empty()) Fail("出力ファイルは 1 つだけ指定してください");
            line_.output = Value(name, value);
            if (line_.output.empty()) Fail(name + " のファイル名が空です");
        } else if ((name == "--csv" || name == "--tsv") && (import_ || export_) && !value) {
            const bool csv = name == "--csv";
            if (line_.csv && *line_.csv != csv) Fail("--csv と --tsv は同時に指定できません");
            line_.csv = csv;
        } else if (name == "--encoding" && (import_ || export_)) {
            const std::string text = Value(name, value);
            line_.encoding = ParseEncodingName(text);
            if (!line_.encoding)
                Fail("文字コード「" + text + "」は使えません（utf-8、cp932、cp1252 のどれかです）");
        } else if (name == "--skip" && import_ && !value) {
            line_.importOptions.skip = true;
        } else if (name == "--cut" && import_ && !value) {
            line_.importOptions.cut = true;
        } else if (name == "--bom" && export_ && !value) {
            line_.exportOptions.bom = true;
        } else if (name == "--anki" && export_ && !value) {
            line_.exportOptions.anki = true;
        } else if (!(import_ && ImportOption(name, value))) {
            Fail("このコマンドにはないオプションです: " + arg);
        }
    }

    // The table's layout: false for an option import doesn't have.
    bool ImportOption(const std::string& name, const std::optional<std::string>& value)
    {
        if (name == "--separator") {
            const std::string text = Value(name, value);
            line_.importOptions.separator = ParseSeparatorName(text);
            if (!line_.importOptions.separator)
                Fail("区切り「" + text +
                     "」は使えません（tab、comma、semicolon か、引用符と # 以外の 1 文字です）");
        } else if (name == "--columns") {
            line_.importOptions.columns = ColumnsOf(Value(name, value));
        } else if ((name == "--header" || name == "--no-header") && !value) {
            const bool header = name == "--header";
            if (line_.importOptions.header && *line_.importOptions.header != header)
                Fail("--header と --no-header は同時に指定できません");
            line_.importOptions.header = header;
        } else if (name == "--html" && !value) {
            line_.importOptions.html = true;
        } else if (name == "--sheet") {
            const std::string sheet = Value(name, value);
            if (sheet.empty() || sheet.find_first_not_of('0') == std::string::npos)
                Fail("--sheet にはシートの名前か、1 から数える番号を指定してください");
            if (IsNumber(sheet) && sheet.size() < 9)
                line_.sheet = SheetChoice{"", static_cast<std::uint32_t>(std::stoul(sheet))};
            else
                line_.sheet = SheetChoice{sheet, 0};
        } else {
            return false;
        }
        return true;
    }

    std::vector<std::string> ColumnsOf(const std::string& text)
    {
        const std::size_t comma = text.find(',');
        std::vector<std::string> columns;
        if (comma != std::string::npos && text.find(',', comma + 1) == std::string::npos) {
            columns = {std::string(TrimSpaces(std::string_view(text).substr(0, comma))),
                       std::string(TrimSpaces(std::string_view(text).substr(comma + 1)))};
        }
        if (columns.size() != 2 || columns[0].empty() || columns[1].empty())
            Fail(
                "--columns にはフランス語と日本語の列を「3,4」や「Français,Japonais」のように 2 "
                "つ指定してください");
        for (const std::string& column : columns) {
            if (column.find_first_not_of('0') == std::string::npos)
                Fail("列の番号は 1 から数えます: " + text);
        }
        if (columns[0] == columns[1]) Fail("--columns の 2 つの列が同じです: " + text);
        return columns;
    }

    // The Anki file has one form, the one Anki reads without asking.
    void RefuseAnkiConflicts()
    {
        if (line_.csv)
            Fail(std::string("--anki と ") + (*line_.csv ? "--csv" : "--tsv") + " は同時に指定できません");
        if (line_.encoding && *line_.encoding != TextEncoding::Utf8)
            Fail("--anki で書き出すファイルは UTF-8 だけです (--encoding は utf-8 のほかは使えません)");
        if (line_.exportOptions.bom)
            Fail("--anki で書き出すファイルには BOM を付けません (古い Anki はヘッダーを読めなくなります)");
    }

    // A workbook's cells are Unicode text in cells: no encoding or separator to choose.
    void RefuseSheetConflicts()
    {
        const bool workbook = IsWorkbookName(line_.input);
        if (line_.sheet && !workbook)
            Fail("--sheet は表計算のブック (.xlsx、.ods) を読み込むときだけ使えます");
        if (!workbook) return;
        const char* option = line_.encoding                  ? "--encoding"
                             : line_.importOptions.separator ? "--separator"
                             : line_.csv                     ? (*line_.csv ? "--csv" : "--tsv")
                                                             : nullptr;
        if (option)
            Fail(std::string(option) +
                 " は表計算のブック (.xlsx、.ods) には使えません（セルの文字をそのまま読みます）");
    }

    std::string Value(const std::string& name, const std::optional<std::string>& value)
    {
        if (value) return *value;
        if (at_ + 1 >= args_.size()) Fail(name + " のあとに値を指定してください");
        return args_[++at_];
    }

    [[noreturn]] void Fail(const std::string& message) { throw UsageError(line_.kind, message); }

    const std::vector<std::string>& args_;
    const bool import_, export_;  // the commands that convert take options; check and list none
    CommandLine line_;
    std::size_t at_ = 1;
    bool sawInput_ = false;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    if (args.empty()) throw UsageError(CommandKind::Overview, "コマンドを指定してください");
    // "help import" asks what "import --help" does; "help" alone or -h first, the program's help.
    CommandLine help;
    help.help = true;
    const bool helpFirst = IsHelp(args[0]) || args[0] == "help";
    if (helpFirst && !(args[0] == "help" && args.size() > 1)) return help;
    const std::string& name = helpFirst ? args[1] : args[0];
    const auto kind = CommandNamed(name);
    if (!kind) throw UsageError(CommandKind::Overview, "そのようなコマンドはありません: " + name);
    help.kind = *kind;
    if (helpFirst) return help;
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i)
        if (IsHelp(args[i])) return help;
    return Parser(*kind, args).Run();
}

std::string HelpHint(CommandKind kind)
{
    std::string command;
    for (const auto& [name, named] : CommandNames)
        if (named == kind) command = std::string(name) + " ";
    return "使い方は mirvel-convert " + command + "--help で表示されます";
}

bool HasExtension(const std::string& path, const std::string& extension)
{
    if (path.size() < extension.size()) return false;
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[path.size() - extension.size() + i]);
        if (std::tolower(c) != extension[i]) return false;
    }
    return true;
}

}  // namespace mirvel::convert
