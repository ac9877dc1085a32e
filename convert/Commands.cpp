#include "convert/Commands.h"

#include "convert/CommandLine.h"
#include "convert/Export.h"
#include "convert/Import.h"
#include "common/InOutError.h"
#include "convert/Input.h"
#include "convert/Messages.h"
#include "convert/Sheet.h"
#include "convert/TerminalText.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <utility>

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
    } catch (const WorkbookError& error) {
        const std::string cell = error.reference.empty() ? "" : error.reference + ": ";
        throw FileFailure{FileErrorText(path, cell + error.what())};
    } catch (const std::bad_alloc&) {
        throw FileFailure{FileErrorText(path, OutOfMemoryMessage)};
    }
}

// Writes to the new file; a failing write is the output's, though it happens while the input is
// read.
void Write(os::File& file, const std::string& path, const void* data, std::size_t bytes)
{
    OnFile(path, [&] {
        if (file.Write(data, bytes) < bytes) throw InOutError(IoDiskFull);
    });
}

// Writing the result over its own source would lose the source. Both names may lead to one file
// through links; "-" is never the same as a file.
bool RefuseSameFile(const CommandLine& line, std::ostream& err)
{
    if (IsStandardStream(line.input) || IsStandardStream(line.output) ||
        !os::IsSameFile(line.input, line.output))
        return false;
    err << "mirvel-convert: " << SameFileText(line.output) << '\n' << HelpHint(line.kind) << '\n';
    return true;
}

ImportOptions ImportOptionsOf(const CommandLine& line)
{
    ImportOptions options = line.importOptions;
    options.csv = line.csv.value_or(HasCsvExtension(line.input));
    // A sheet's rows come as a UTF-8 CSV (Sheet.h).
    options.cells = IsWorkbookName(line.input);
    if (options.cells) options.separator = ',';
    return options;
}

// Thrown out of the replace, so that the target stays as it was.
struct ImportRefused {};

// The input is held once, in memory (a workbook as its sheet's CSV); the records go to the new
// file as they are made, which takes the target's place only when the whole input passed.
int RunImport(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (RefuseSameFile(line, err)) return ExitUsage;
    try {
        const ImportOptions options = ImportOptionsOf(line);
        std::optional<SheetText> sheet;
        InputText input;
        if (options.cells) {
            sheet.emplace(OnFile(line.input,
                                 [&] { return SheetText(line.input, line.sheet.value_or(SheetChoice{})); }));
            if (sheet->Empty()) {
                err << FileErrorText(line.input, EmptySheetText(sheet->Name())) << '\n';
                return ExitProblems;
            }
        } else {
            input = OnFile(line.input, [&] { return ReadInput(line.input); });
        }
        const std::string_view text = sheet ? sheet->Csv() : input.Bytes();
        const ImportPlan plan =
            PlanImport(text, sheet ? std::optional(TextEncoding::Utf8) : input.bom, line.encoding, options);
        if (line.encoding && *line.encoding != plan.encoding && !plan.undecided)
            err << StatedEncodingUnusedText(line.input, *line.encoding, input.bom.has_value(), plan.encoding)
                << '\n';
        if (plan.undecided) {
            err << EncodingUndecidedText(line.input, plan) << '\n';
            return ExitProblems;
        }
        if (plan.chosen) err << EncodingChosenText(line.input, plan.encoding) << '\n';
        if (plan.layout.semicolonGuessed) err << SemicolonGuessedText(line.input) << '\n';
        ImportResult result;
        try {
            OnFile(line.output, [&] {
                os::ReplaceFile(line.output, [&](os::File& file) {
                    std::vector<TWordRec> block;
                    block.reserve(WordFileReader::BlockRecords);
                    const auto flush = [&] {
                        Write(file, line.output, block.data(), block.size() * sizeof(TWordRec));
                        block.clear();
                    };
                    // A list too large is the input's, though it is found while the rows are written.
                    result = OnFile(line.input, [&] {
                        return ImportRows(text, plan, options, [&](const TWordRec& record) {
                            block.push_back(record);
                            if (block.size() == WordFileReader::BlockRecords) flush();
                        });
                    });
                    if (!result.Writable()) throw ImportRefused{};
                    flush();
                });
            });
        } catch (const ImportRefused&) {
        }
        for (const ImportIssue& issue : result.issues)
            err << ImportIssueText(line.input, issue, plan.encoding, sheet ? &*sheet : nullptr) << '\n';
        if (!result.Writable()) {
            err << ImportRefusedText(line.output, result) << '\n';
            return ExitProblems;
        }
        out << ImportDoneText(line.output, result) << '\n';
        return ExitSuccess;
    } catch (const ColumnsError& error) {
        err << "mirvel-convert: " << ColumnsErrorText(error) << '\n' << HelpHint(CommandKind::Import) << '\n';
        return ExitUsage;
    }
}

// The word list a command reads ("-": standard input), as often as the command needs it,
// block by block so that memory doesn't grow with a file. A file is read anew on each pass;
// standard input can be read only once, so for more than one pass it is read whole on the first
// and kept.
class ListInput {
public:
    ListInput(std::string path, int passes) : path_(std::move(path)), passes_(passes) {}

    // One pass over the whole list. A partial record at its end, which both programs ignore and
    // the editor's next save drops, is returned, and told on `err` where one is given.
    std::string Pass(std::ostream* err, const WordFileReader::Block& onBlock)
    {
        std::string trailing = OnFile(path_, [&] { return Read(onBlock); });
        if (err && !trailing.empty()) *err << TrailingSkippedText(path_, trailing.size()) << '\n';
        return trailing;
    }

private:
    std::string Read(const WordFileReader::Block& onBlock)
    {
        if (!kept_ && IsStandardStream(path_)) {
            WordFileReader reader([](void* buffer, std::size_t size) {
                return ReadStandardInput(static_cast<char*>(buffer), size);
            });
            if (passes_ == 1) {
                reader.ForEachBlock(onBlock);
                return reader.Trailing();
            }
            kept_ = ReadWords(reader);
            keptTrailing_ = reader.Trailing();
        }
        if (kept_) {
            for (std::size_t first = 0; first < kept_->size(); first += WordFileReader::BlockRecords) {
                const std::size_t count = std::min(WordFileReader::BlockRecords, kept_->size() - first);
                onBlock(kept_->data() + first, count, static_cast<std::int64_t>(first) + 1);
            }
            return keptTrailing_;
        }
        RefusePipe(path_, false);
        WordFileReader reader(path_, WordFileReader::Access::ReadOnly);
        reader.ForEachBlock(onBlock);
        reader.Close();
        return reader.Trailing();
    }

    std::string path_;
    int passes_;
    std::optional<WordList> kept_;
    std::string keptTrailing_;
};

// Two passes over the list, so that memory doesn't grow with it: the first finds what would
// be refused (nothing is written while a refusal stands), the second writes block by block.
int RunExport(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (RefuseSameFile(line, err)) return ExitUsage;
    const bool toStandardOutput = IsStandardStream(line.output);
    if (!toStandardOutput) OnFile(line.output, [&] { RefusePipe(line.output, true); });
    ExportOptions options = line.exportOptions;
    options.csv = line.csv.value_or(HasCsvExtension(line.output));
    options.encoding = line.encoding.value_or(TextEncoding::Utf8);

    ListInput list(line.input, 2);
    ExportWriter check(options);
    std::int64_t records = 0;
    list.Pass(&err, [&](const TWordRec* block, std::size_t count, std::int64_t first) {
        check.Add(block, count, first);
        check.result.bytes.clear();
        records = first - 1 + static_cast<std::int64_t>(count);
    });
    for (const RecordFinding& issue : check.result.issues)
        err << RecordFindingText(issue, options.encoding) << '\n';
    if (check.result.emptyFrancais > 0)
        err << EmptyFirstFieldText(check.result.firstEmptyFrancais, check.result.emptyFrancais) << '\n';
    if (check.result.Refusals() > 0) {
        err << ExportRefusedText(line.output, check.result) << '\n';
        return ExitProblems;
    }

    const auto writeAll = [&](const std::function<void(const std::string&)>& emit) {
        ExportWriter writer(options);
        list.Pass(nullptr, [&](const TWordRec* block, std::size_t count, std::int64_t first) {
            writer.Add(block, count, first);
            emit(writer.result.bytes);
            writer.result.bytes.clear();
        });
        if (!writer.result.bytes.empty()) emit(writer.result.bytes);  // a BOM before no records
    };
    if (toStandardOutput) {
        writeAll([&](const std::string& bytes) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        });
        return out ? ExitSuccess : ExitProblems;
    }
    OnFile(line.output, [&] {
        os::ReplaceFile(line.output, [&](os::File& file) {
            writeAll([&](const std::string& bytes) { Write(file, line.output, bytes.data(), bytes.size()); });
        });
    });
    out << ExportDoneText(line.output, static_cast<std::size_t>(records)) << '\n';
    return ExitSuccess;
}

int RunCheck(const CommandLine& line, std::ostream& out)
{
    ListInput list(line.input, 1);
    std::vector<RecordFinding> findings;
    std::int64_t records = 0;
    const std::string trailing =
        list.Pass(nullptr, [&](const TWordRec* block, std::size_t count, std::int64_t first) {
            CheckRecords(block, count, first, findings);
            records = first - 1 + static_cast<std::int64_t>(count);
        });
    if (!trailing.empty()) AddFinding(findings, RecordFinding::TrailingPartial, records + 1).bytes = trailing;
    out << RecordCountText(line.input, records) << '\n';
    for (const RecordFinding& finding : findings) out << RecordFindingText(finding, std::nullopt) << '\n';
    out << CheckVerdictText(findings.size()) << '\n';
    return findings.empty() ? ExitSuccess : ExitProblems;
}

// The pairs as the terminal shows them: the record number right-aligned, the French word padded
// to the widest one by display width, then the Japanese meaning; control characters as their
// pictures (TerminalText.h). Two passes, so that memory doesn't grow with the list: the French
// column's width is known only once every record was seen.
int RunList(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    const auto francaisOf = [](const TWordRec& record) {
        return Printable(DecodeToUtf8(CodePage::Windows1252, record.FrancaisBytes()));
    };
    ListInput list(line.input, 2);
    std::size_t francaisWidth = 0;
    std::int64_t records = 0;
    list.Pass(nullptr, [&](const TWordRec* block, std::size_t count, std::int64_t first) {
        for (std::size_t i = 0; i < count; ++i)
            francaisWidth = std::max(francaisWidth, DisplayWidth(francaisOf(block[i])));
        records = first - 1 + static_cast<std::int64_t>(count);
    });
    const std::size_t numberWidth = std::to_string(records).size();
    list.Pass(&err, [&](const TWordRec* block, std::size_t count, std::int64_t first) {
        std::string lines;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string number = std::to_string(first + static_cast<std::int64_t>(i));
            lines.append(numberWidth - std::min(numberWidth, number.size()), ' ');
            const std::string francais = francaisOf(block[i]);
            lines += number + "  " + francais;
            const std::string japonais =
                Printable(DecodeToUtf8(CodePage::ShiftJis, block[i].JaponaisBytes()));
            if (!japonais.empty()) {
                lines.append(francaisWidth - std::min(francaisWidth, DisplayWidth(francais)) + 2, ' ');
                lines += japonais;
            }
            lines += '\n';
        }
        out << lines;
    });
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
