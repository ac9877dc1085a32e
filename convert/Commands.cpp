#include "Commands.h"

#include "Check.h"
#include "CommandLine.h"
#include "Export.h"
#include "FileIo.h"
#include "Help.h"
#include "Import.h"
#include "InOutError.h"
#include "InputDecoder.h"
#include "List.h"
#include "Messages.h"
#include "WordFile.h"

#include <new>

namespace mirvel::convert {
namespace {

// A failure of one file, already worded with the file's name.
struct FileFailure {
    std::string text;
};

template <class Action>
auto OnFile(const std::string& path, Action action) -> decltype(action())
{
    try {
        return action();
    } catch (const InOutError& error) {
        throw FileFailure{FileErrorText(path, error.what())};
    } catch (const MessageError& error) {
        throw FileFailure{FileErrorText(path, error.what())};
    } catch (const std::bad_alloc&) {
        throw FileFailure{FileErrorText(path, OutOfMemoryMessage)};
    }
}

// Writing the result over its own source would lose the source.
bool RefuseSameFile(const CommandLine& line, std::ostream& err)
{
    if (!IsSameFile(line.input, line.output)) return false;
    err << "mirvel-convert: " << SameFileText(line.output) << '\n' << HelpHint(line.kind) << '\n';
    return true;
}

int RunImport(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (RefuseSameFile(line, err)) return ExitUsage;
    DecodedInput input =
        DecodeInput(OnFile(line.input, [&] { return ReadWholeFile(line.input); }), line.encoding);
    if (input.notUtf8At) {
        err << NotUtf8Text(line.input, *input.notUtf8At, input.notUtf8Byte) << '\n';
        return ExitProblems;
    }
    if (line.encoding && *line.encoding != input.encoding)
        err << StatedEncodingUnusedText(line.input, *line.encoding, input.bom, input.encoding) << '\n';

    ImportOptions options;
    options.csv = line.csv.value_or(HasCsvExtension(line.input));
    options.skip = line.skip;
    options.cut = line.cut;
    const ImportResult result = OnFile(line.input, [&] { return ImportText(input.text, options); });
    for (const ImportIssue& issue : result.issues)
        err << ImportIssueText(line.input, issue, options.csv, input.encoding) << '\n';
    if (!result.Writable()) {
        err << ImportRefusedText(line.output, result) << '\n';
        return ExitProblems;
    }
    OnFile(line.output, [&] { WriteWordFile(line.output, result.words); });
    out << ImportDoneText(line.output, result) << '\n';
    return ExitSuccess;
}

int RunExport(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (RefuseSameFile(line, err)) return ExitUsage;
    const WordFileContents contents = OnFile(line.input, [&] { return ReadWordListFile(line.input); });
    if (!contents.trailingBytes.empty())
        err << TrailingSkippedText(line.input, contents.trailingBytes.size()) << '\n';

    ExportOptions options;
    options.csv = line.csv.value_or(HasCsvExtension(line.output));
    options.encoding = line.encoding.value_or(TextEncoding::Utf8);
    options.bom = line.bom;
    const ExportResult result = ExportWords(contents.words, options);
    for (const ExportIssue& issue : result.issues) err << ExportIssueText(issue, options.encoding) << '\n';
    if (result.refusals > 0) {
        err << ExportRefusedText(line.output, result) << '\n';
        return ExitProblems;
    }
    OnFile(line.output, [&] { WriteTextFile(line.output, result.bytes); });
    out << ExportDoneText(line.output, contents.words.size()) << '\n';
    return ExitSuccess;
}

int RunCheck(const CommandLine& line, std::ostream& out)
{
    const WordFileContents contents = OnFile(line.input, [&] { return ReadWordListFile(line.input); });
    const CheckReport report = CheckWords(contents.words, contents.trailingBytes);
    out << RecordCountText(line.input, report.recordCount) << '\n';
    for (const CheckFinding& finding : report.findings) out << CheckFindingText(finding) << '\n';
    out << CheckVerdictText(report) << '\n';
    return report.Clean() ? ExitSuccess : ExitProblems;
}

int RunList(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    const WordFileContents contents = OnFile(line.input, [&] { return ReadWordListFile(line.input); });
    out << ListWords(contents.words);
    if (!contents.trailingBytes.empty())
        err << TrailingSkippedText(line.input, contents.trailingBytes.size()) << '\n';
    return ExitSuccess;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    try {
        line = ParseCommandLine(args);
    } catch (const UsageError& error) {
        err << "mirvel-convert: " << error.what() << '\n' << HelpHint(error.Kind()) << '\n';
        return ExitUsage;
    }
    if (line.help) {
        out << HelpText(line.kind);
        return ExitSuccess;
    }
    try {
        switch (line.kind) {
            case CommandKind::Import:
                return RunImport(line, out, err);
            case CommandKind::Export:
                return RunExport(line, out, err);
            case CommandKind::Check:
                return RunCheck(line, out);
            case CommandKind::List:
                return RunList(line, out, err);
            case CommandKind::Overview:
                break;
        }
    } catch (const FileFailure& failure) {
        err << failure.text << '\n';
        return ExitProblems;
    } catch (const std::bad_alloc&) {
        err << "mirvel-convert: " << OutOfMemoryMessage << "\n";
        return ExitProblems;
    }
    out << HelpText(CommandKind::Overview);
    return ExitSuccess;
}

}  // namespace mirvel::convert
