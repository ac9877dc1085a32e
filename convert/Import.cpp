#include "convert/Import.h"

#include "convert/AnkiHeaders.h"
#include "convert/CharEncoder.h"
#include "convert/Delimited.h"
#include "convert/FieldHtml.h"
#include "convert/InputChunks.h"
#include "convert/InputDecoder.h"
#include "common/InOutError.h"
#include "convert/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace mirvel::convert {
namespace {

// How many rows at the start of a file are read to tell a semicolon CSV from a comma one.
constexpr std::size_t SampleRows = 20;
// At most how much of the start is held over to the next chunk for those rows.
constexpr std::size_t SampleCarryLimit = std::size_t{4} << 20;

bool SameName(std::string_view a, std::string_view b)
{
    return SameLettersAnyCase(TrimSpaces(a), TrimSpaces(b));
}

bool IsNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

class Importer {
public:
    // `fitOnly`: no records and no issues, only whether every word field's characters are in
    // their code pages (Misfit) and what the words are (Digest), for the encoding choice.
    Importer(const ImportOptions& options, std::size_t lines, bool fitOnly = false)
        : options_(options), fitOnly_(fitOnly), separator_(options.separator.value_or(options.csv ? ',' : '\t')),
          quoting_(separator_ != '\t'), html_(options.html)
    {
        result_.separator = separator_;
        if (fitOnly_) return;
        // One record a line at most: the list is allocated once.
        result_.words.reserve(lines + 1);
    }

    void Feed(std::string_view chunk, bool last)
    {
        const bool carried = !carry_.empty();
        std::string_view text = chunk;
        if (carried) {
            carry_.append(chunk);
            text = carry_;
        }
        DelimitedReader reader(text, separator_, quoting_);
        reader_ = &reader;
        last_ = last;
        while (reader.Next(row_)) {
            if (row_.comment) {
                ReadComment();
                continue;
            }
            // The closing quote may lie in the next chunk: the row is read again from there,
            // once. A quote still open a whole chunk later is a stray one, and carrying it on
            // would hold the rest of the file, read again with every chunk. So are the rows
            // the separator is guessed from, when they run past this chunk.
            const bool quoteRunsOn =
                !last && row_.fault == SyntaxFault::UnclosedQuote && !(carried && row_.start.offset == 0);
            if (quoteRunsOn || SampleRunsOn(text.size() - row_.start.offset)) {
                lineBase_ += row_.start.line - 1;
                carry_ = std::string(text.substr(row_.start.offset));
                reader_ = nullptr;
                return;
            }
            if (!formatDecided_ && DecideFormat()) {
                reader.SetFormat(separator_, quoting_);
                reader.Restart(row_.start.offset, row_.start.line);
                continue;
            }
            if (!columnsChosen_) {
                ChooseColumns();
                if (options_.header) continue;  // the names, not a pair
            }
            ReadRow();
        }
        reader_ = nullptr;
        lineBase_ += reader.Line() - 1;
        carry_.clear();
    }

    ImportResult Finish() { return std::move(result_); }

    const std::optional<EncodingMisfit>& Misfit() const { return misfit_; }
    std::uint64_t Digest() const { return digest_; }

private:
    // Headers count only above the first row, as Anki reads them; below it a '#' line is a
    // comment, and one that would split like a pair is named, since it may be a lost pair.
    void ReadComment()
    {
        const std::string_view line =
            reader_->Text().substr(row_.start.offset, row_.end - row_.start.offset);
        const HeaderLine header = ParseHeaderLine(line);
        if (formatDecided_) {
            if (header.key != HeaderKey::Comment && header.key != HeaderKey::Unknown)
                Note(ImportIssue::LateHeader).text = header.name;
            else if (line.find(separator_) != std::string_view::npos)
                Note(ImportIssue::CommentedRow);
            return;
        }
        const auto badValue = [&] {
            if (fitOnly_) return;
            ImportIssue& issue = AddIssue(ImportIssue::BadHeader, row_.start);
            issue.text = header.name;
            issue.kept = header.value;
            ++result_.problems;
            ++result_.headerProblems;
        };
        const auto column = [&](std::size_t role) {
            const auto number = ParseColumnNumber(header.value);
            if (number)
                roles_[role] = *number;
            else
                badValue();
        };
        switch (header.key) {
            case HeaderKey::Comment:
                return;
            case HeaderKey::Unknown:
                Note(ImportIssue::UnknownHeader).text = header.name;
                return;
            case HeaderKey::Separator:
                if (const auto separator = ParseSeparatorName(header.value))
                    headerSeparator_ = *separator;
                else
                    badValue();
                break;
            case HeaderKey::Html:
                if (const auto html = ParseHtmlValue(header.value))
                    html_ = options_.html || *html;
                else
                    badValue();
                break;
            case HeaderKey::Columns:
                if (TrimSpaces(header.value).empty()) {
                    badValue();
                } else {
                    columnsHeader_ = std::string(header.value);
                    columnsHeaderLine_ = row_.start;
                    columnsHeaderLine_.line += lineBase_;
                }
                break;
            case HeaderKey::TagsColumn:
                column(0);
                break;
            case HeaderKey::DeckColumn:
                column(1);
                break;
            case HeaderKey::NotetypeColumn:
                column(2);
                break;
            case HeaderKey::GuidColumn:
                column(3);
                break;
            case HeaderKey::Ignored:
                break;
        }
        anki_ = true;
    }

    // At the first row, the headers above it read: the separator and whether fields are
    // quoted. True when the row must be read again with them.
    bool DecideFormat()
    {
        formatDecided_ = true;
        char separator = separator_;
        if (!options_.separator && headerSeparator_) {
            separator = *headerSeparator_;
        } else if (!options_.separator && options_.csv && SplitsOnSemicolon()) {
            separator = ';';
            result_.semicolonGuessed = true;
        }
        const bool quoting = separator != '\t' || anki_;
        const bool changed = separator != separator_ || quoting != quoting_;
        separator_ = separator;
        quoting_ = quoting;
        result_.separator = separator;
        lenient_ = anki_ || options_.header || !options_.columns.empty();
        return changed;
    }

    // Whether the first rows all have the same number of fields, two or more, split on ';', and
    // not so on ','. A comma inside a French phrase ("oui, merci") is what tells them apart.
    bool SplitsOnSemicolon() const
    {
        const auto counts = [&](char separator) { return SampleCounts(separator, nullptr); };
        const auto consistent = [](const std::vector<std::size_t>& found) {
            return !found.empty() && found[0] >= 2 &&
                   std::all_of(found.begin(), found.end(), [&](std::size_t n) { return n == found[0]; });
        };
        return consistent(counts(';')) && !consistent(counts(','));
    }

    // The field counts of the first rows split on `separator`; `*cutShort` is set when the
    // text ends before there are enough of them and more is to come.
    std::vector<std::size_t> SampleCounts(char separator, bool* cutShort) const
    {
        DelimitedReader sample(reader_->Text(), separator, true);
        sample.Restart(row_.start.offset, row_.start.line);
        DelimitedRow row;
        std::vector<std::size_t> found;
        bool ended = false;
        while (found.size() < SampleRows) {
            if (!sample.Next(row) || (!last_ && row.fault == SyntaxFault::UnclosedQuote)) {
                ended = true;
                break;
            }
            if (!row.comment) found.push_back(row.count);
        }
        if (cutShort) *cutShort = !last_ && ended;
        return found;
    }

    // Whether the rows the separator is guessed from run past this chunk: they are then read
    // again with the next one, so that the guess doesn't depend on where a chunk ends. Only a
    // bounded stretch is carried, never the file.
    bool SampleRunsOn(std::size_t carried) const
    {
        if (formatDecided_ || last_ || options_.separator || headerSeparator_ || !options_.csv) return false;
        if (carried >= SampleCarryLimit) return false;
        bool semicolonShort = false, commaShort = false;
        SampleCounts(';', &semicolonShort);
        SampleCounts(',', &commaShort);
        return semicolonShort || commaShort;
    }

    // At the first row, or the header row that names them: which columns hold the words.
    void ChooseColumns()
    {
        columnsChosen_ = true;
        std::vector<std::string> names;
        if (columnsHeader_) {
            // Split as the rows are, but a '#' at its start is a name's.
            DelimitedReader reader(*columnsHeader_, separator_, quoting_, false);
            DelimitedRow row;
            if (reader.Next(row)) {
                for (std::size_t i = 0; i < row.count; ++i) names.emplace_back(row.fields[i].value);
            }
            columnsCount_ = std::max<std::size_t>(names.size(), 1);
        }
        if (options_.header) {
            names.clear();
            for (std::size_t i = 0; i < row_.count; ++i) names.emplace_back(row_.fields[i].value);
        }
        if (options_.columns.size() == 2) {
            const std::size_t count = names.empty() ? row_.count : names.size();
            francaisColumn_ = ColumnNamed(options_.columns[0], names, count);
            japonaisColumn_ = ColumnNamed(options_.columns[1], names, count);
            return;
        }
        const auto isRole = [&](std::size_t column) {
            return std::find(roles_.begin(), roles_.end(), column + 1) != roles_.end();
        };
        std::size_t column = 0;
        while (isRole(column)) ++column;
        francaisColumn_ = column++;
        while (isRole(column)) ++column;
        japonaisColumn_ = column;
    }

    static std::size_t ColumnNamed(const std::string& asked, const std::vector<std::string>& names,
                                   std::size_t count)
    {
        if (IsNumber(asked)) {
            const auto number = ParseColumnNumber(asked);
            if (number && *number >= 1 && *number <= count) return *number - 1;
        } else {
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (SameName(names[i], asked)) return i;
            }
        }
        throw ColumnsError(asked, names, count);
    }

    // Spreadsheets pad rows with empty fields up to their widest column; that isn't a column
    // more.
    bool DisagreesWithColumnsHeader() const
    {
        if (row_.count < columnsCount_) return true;
        for (std::size_t i = columnsCount_; i < row_.count; ++i) {
            if (!row_.fields[i].value.empty()) return true;
        }
        return false;
    }

    void ReadRow()
    {
        if (fitOnly_) {
            if (row_.count > francaisColumn_) Fit(Side::Francais, row_.fields[francaisColumn_]);
            if (row_.count > japonaisColumn_) Fit(Side::Japonais, row_.fields[japonaisColumn_]);
            return;
        }
        rowIssues_.clear();
        if (row_.fault != SyntaxFault::None) {
            const auto kind = row_.fault == SyntaxFault::UnclosedQuote ? ImportIssue::UnclosedQuote
                                                                       : ImportIssue::TextAfterQuote;
            Add(kind, Advance(reader_->Text(), row_.start, row_.faultOffset));
        }
        if (row_.count <= francaisColumn_) {
            Add(ImportIssue::MissingFrancais, Advance(reader_->Text(), row_.start, row_.end)).column =
                francaisColumn_ + 1;
        }
        if (row_.count <= japonaisColumn_) {
            Add(ImportIssue::MissingJaponais, Advance(reader_->Text(), row_.start, row_.end)).column =
                japonaisColumn_ + 1;
        }
        if (!lenient_) {
            for (std::size_t i = 2; i < row_.count; ++i) {
                if (row_.fields[i].value.empty()) continue;
                Add(ImportIssue::ExtraField, reader_->Locate(row_, row_.fields[i], 0)).text =
                    row_.fields[i].value;
                break;
            }
        }
        bool problem = columnsCount_ != 0 && DisagreesWithColumnsHeader();
        if (problem && !columnsMismatchTold_) {
            columnsMismatchTold_ = true;
            ImportIssue& issue = result_.issues.emplace_back();
            issue.kind = ImportIssue::ColumnsMismatch;
            issue.at = columnsHeaderLine_;
            issue.column = columnsCount_;
            issue.bytes = row_.count;
            issue.lastLine = row_.start.line + lineBase_;
            ++result_.problems;
        }
        if (row_.count > francaisColumn_) EncodeSide(Side::Francais, row_.fields[francaisColumn_], francais_);
        if (row_.count > japonaisColumn_) EncodeSide(Side::Japonais, row_.fields[japonaisColumn_], japonais_);

        std::stable_sort(
            rowIssues_.begin(), rowIssues_.end(),
            [](const ImportIssue& a, const ImportIssue& b) { return a.at.offset < b.at.offset; });
        for (const ImportIssue& issue : rowIssues_) problem = problem || issue.IsProblem();
        if (problem) {
            for (ImportIssue& issue : rowIssues_) {
                if (!issue.IsProblem()) continue;  // a cut in a skipped line never happened
                ++result_.problems;
                result_.issues.push_back(std::move(issue));
            }
            if (options_.skip) {
                ImportIssue skipped;
                skipped.kind = ImportIssue::Skipped;
                skipped.at = row_.start;
                skipped.at.line += lineBase_;
                skipped.lastLine = row_.lastLine + lineBase_;
                result_.issues.push_back(std::move(skipped));
                ++result_.skippedRows;
            }
            return;
        }
        for (ImportIssue& issue : rowIssues_) {
            ++result_.cutFields;
            result_.issues.push_back(std::move(issue));
        }
        if (result_.words.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            throw MessageError("ファイルが大きすぎます");
        TWordRec& record = result_.words.emplace_back();  // zero-filled
        record.SetFrancais(francais_.Bytes());
        record.SetJaponais(japonais_.Bytes());
    }

    CharEncoder& EncoderOf(Side side) { return side == Side::Francais ? francaisEncoder_ : japonaisEncoder_; }

    // The words a field holds: with HTML, the text its card shows, where a character's place in
    // the field is known no closer than the field's start.
    std::string_view WordsOf(Side side, const DelimitedField& field, bool& exact)
    {
        exact = true;
        if (!html_ || !NeedsHtmlDecoding(field.value)) return field.value;
        std::string& text = side == Side::Francais ? francaisHtml_ : japonaisHtml_;
        HtmlFieldTextInto(field.value, text);
        exact = false;
        return text;
    }

    // Every character is checked before the length, so that a cut is only ever made in a field
    // that is otherwise good.
    void EncodeSide(Side side, const DelimitedField& field, EncodedField& encoded)
    {
        bool exact = true;
        const std::string_view text = WordsOf(side, field, exact);
        const auto at = [&](std::size_t offset) { return reader_->Locate(row_, field, exact ? offset : 0); };
        const std::size_t limit = EditorLimitOf(side);
        EncodeField(EncoderOf(side), text, limit, encoded);
        for (const auto& [offset, c] : encoded.controls) {
            ImportIssue& issue = Add(ImportIssue::ControlCharacter, at(offset));
            issue.side = side;
            issue.character = c;
        }
        for (const auto& [offset, c] : encoded.unmapped) {
            const bool escape = IsEscape(c);
            ImportIssue& issue = Add(escape ? ImportIssue::UndecodableByte : ImportIssue::NotInCodePage, at(offset));
            issue.side = side;
            if (escape)
                issue.byte = EscapedByte(c);
            else
                issue.character = c;
        }
        if (!encoded.unmapped.empty() || !encoded.controls.empty() || encoded.length <= limit) return;

        ImportIssue& issue = Add(options_.cut ? ImportIssue::Cut : ImportIssue::TooLong, at(0));
        issue.side = side;
        issue.bytes = encoded.length;
        issue.limit = limit;
        issue.text = text;
        if (options_.cut) {
            issue.kept = text.substr(0, encoded.fitTextLength);
            encoded.length = encoded.fitBytes;
        }
    }

    // A control character is the same under any reading, so it says nothing about the encoding.
    void Fit(Side side, const DelimitedField& field)
    {
        if (misfit_) return;
        bool exact = true;
        const std::string_view text = WordsOf(side, field, exact);
        constexpr std::uint64_t Prime = 0x100000001B3ULL;
        for (const char c : text) digest_ = (digest_ ^ static_cast<unsigned char>(c)) * Prime;
        digest_ = (digest_ ^ 0xFF) * Prime;  // never a byte of UTF-8: where a field ends
        EncodedField& encoded = side == Side::Francais ? francais_ : japonais_;
        EncodeField(EncoderOf(side), text, EditorLimitOf(side), encoded);
        if (encoded.unmapped.empty()) return;
        const auto& [offset, c] = encoded.unmapped.front();
        misfit_ = EncodingMisfit{reader_->Locate(row_, field, exact ? offset : 0), side, c};
        misfit_->at.line += lineBase_;
    }

    ImportIssue& Add(ImportIssue::Kind kind, TextPosition at)
    {
        ImportIssue& issue = rowIssues_.emplace_back();
        issue.kind = kind;
        issue.at = at;
        issue.at.line += lineBase_;
        return issue;
    }

    ImportIssue& AddIssue(ImportIssue::Kind kind, TextPosition at)
    {
        ImportIssue& issue = result_.issues.emplace_back();
        issue.kind = kind;
        issue.at = at;
        issue.at.line += lineBase_;
        return issue;
    }

    // What was read past, at the current line; in a fit-only reading it goes nowhere.
    ImportIssue& Note(ImportIssue::Kind kind)
    {
        if (fitOnly_) {
            discarded_ = ImportIssue{};
            return discarded_;
        }
        return AddIssue(kind, row_.start);
    }

    const ImportOptions options_;
    const bool fitOnly_;
    const DelimitedReader* reader_ = nullptr;  // over the chunk being read
    bool last_ = false;                        // whether that chunk is the last
    long lineBase_ = 0;                        // lines in the chunks before it
    std::string carry_;                        // a row that runs on into the next chunk
    DelimitedRow row_;

    // Read from the headers, decided at the first row.
    char separator_;
    bool quoting_;
    bool html_;
    bool anki_ = false;  // a header line of Anki's was read
    std::optional<char> headerSeparator_;
    std::optional<std::string> columnsHeader_;
    TextPosition columnsHeaderLine_;
    std::array<std::size_t, 4> roles_{};  // tags, deck, note type, guid: 1-based, 0 for none
    bool formatDecided_ = false;
    bool columnsChosen_ = false;
    bool lenient_ = false;  // columns besides the words are ignored
    std::size_t francaisColumn_ = 0;
    std::size_t japonaisColumn_ = 1;
    std::size_t columnsCount_ = 0;  // as "#columns:" names them; 0 without one
    bool columnsMismatchTold_ = false;

    CharEncoder francaisEncoder_{CodePage::Windows1252};
    CharEncoder japonaisEncoder_{CodePage::ShiftJis};
    EncodedField francais_;
    EncodedField japonais_;
    std::string francaisHtml_;  // a field's words under HTML, kept to be reused
    std::string japonaisHtml_;
    std::vector<ImportIssue> rowIssues_;
    ImportIssue discarded_;
    ImportResult result_;

    std::optional<EncodingMisfit> misfit_;
    std::uint64_t digest_ = 0xCBF29CE484222325ULL;
};

ImportResult ImportText(std::string_view text, const ImportOptions& options)
{
    Importer importer(options, LineFeedCount(text));
    importer.Feed(text, true);
    return importer.Finish();
}

ChunkedImport::ChunkedImport(const ImportOptions& options, std::size_t lines)
    : importer_(std::make_unique<Importer>(options, lines))
{
}

ChunkedImport::~ChunkedImport() = default;

void ChunkedImport::Feed(std::string_view text, bool last) { importer_->Feed(text, last); }

ImportResult ChunkedImport::Finish() { return importer_->Finish(); }

struct EncodingChoice::Reading {
    Reading(const ImportOptions& options, TextEncoding readAs) : importer(options, 0, true), encoding(readAs) {}

    bool Fits() const { return !importer.Misfit() && !columnsError; }

    void Feed(std::string_view bytes, bool last)
    {
        if (!Fits()) return;
        text = encoding == TextEncoding::Cp932 ? DecodeCp932Escaping(bytes) : DecodeCp1252Escaping(bytes);
        try {
            importer.Feed(text, last);
        } catch (const ColumnsError& error) {
            columnsError = error;
        }
    }

    Importer importer;
    TextEncoding encoding;
    std::string text;
    std::optional<ColumnsError> columnsError;
};

EncodingChoice::EncodingChoice(const ImportOptions& options)
    : shiftJis_(std::make_unique<Reading>(options, TextEncoding::Cp932)),
      windows1252_(std::make_unique<Reading>(options, TextEncoding::Cp1252))
{
}

EncodingChoice::~EncodingChoice() = default;

void EncodingChoice::Feed(std::string_view bytes, bool last)
{
    shiftJis_->Feed(bytes, last);
    windows1252_->Feed(bytes, last);
}

EncodingVerdict EncodingChoice::Finish()
{
    EncodingVerdict verdict;
    if (shiftJis_->Fits() && windows1252_->Fits()) {
        if (shiftJis_->importer.Digest() == windows1252_->importer.Digest()) verdict.chosen = TextEncoding::Cp932;
        return verdict;
    }
    if (shiftJis_->Fits()) verdict.chosen = TextEncoding::Cp932;
    if (windows1252_->Fits()) verdict.chosen = TextEncoding::Cp1252;
    if (verdict.chosen) return verdict;
    // Which columns hold the words must be settled before an encoding can be.
    if (shiftJis_->columnsError) throw *shiftJis_->columnsError;
    if (windows1252_->columnsError) throw *windows1252_->columnsError;
    verdict.shiftJis = shiftJis_->importer.Misfit();
    verdict.windows1252 = windows1252_->importer.Misfit();
    return verdict;
}

}  // namespace mirvel::convert
