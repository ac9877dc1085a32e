#include "convert/Import.h"

#include "common/CodePage.h"
#include "common/InOutError.h"
#include "convert/EncodedField.h"
#include "convert/FieldHtml.h"
#include "convert/TextEncoding.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace mirvel::convert {
namespace {

// How many rows at the start of a file tell a semicolon CSV from a comma one, and a header row
// from a pair.
constexpr std::size_t SampleRows = 20;

bool IsJapanese(char32_t c)
{
    return (c >= 0x3005 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF66 && c <= 0xFF9F);
}

bool HasJapanese(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();)
        if (IsJapanese(NextUtf8(text, at))) return true;
    return false;
}

bool IsLetter(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

// A "?" against a letter: what a spreadsheet writes for an accented letter its code page lacks
// ("caf?", "?l?ve").
bool HasLostAccent(std::string_view text)
{
    char32_t before = 0;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextUtf8(text, at);
        if (c == '?') {
            std::size_t next = at;
            const char32_t after = at < text.size() ? NextUtf8(text, next) : 0;
            if (IsLetter(before) || IsLetter(after)) return true;
        }
        before = c;
    }
    return false;
}

// A field's text for a message: a field of a gigabyte is shown by its start.
std::string Shown(std::string_view text)
{
    constexpr std::size_t Shown = 64;
    std::size_t at = 0;
    for (std::size_t chars = 0; at < text.size() && chars < Shown; ++chars) NextUtf8(text, at);
    return at < text.size() ? std::string(text.substr(0, at)) + "…" : std::string(text);
}

// Characters (as a column counts them) in the first `offset` bytes of converter text.
std::size_t CharsIn(std::string_view text, std::size_t offset)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.begin() + offset, [](char c) { return !IsContinuationByte(c); }));
}

// The first character of the words that their side's code page can't hold, even as its
// standard equivalent, and its offset. Control characters are the same under any reading.
std::optional<std::pair<std::size_t, char32_t>> FirstUnfit(Side side, std::string_view text,
                                                           bool escapes = true)
{
    static EncodedField encoded;
    EncodeField(CodePageOf(side), text, EditorLimitOf(side), encoded);
    for (const auto& unfit : encoded.unmapped)
        if (escapes || !IsEscape(unfit.second)) return unfit;
    return std::nullopt;
}

// The words of a field: its bytes without quoting, decoded, and as its card shows them when
// the fields are HTML, where a character's place is known no closer than the field's start.
class Words {
public:
    Words(const RowReader& rows, const InputCodec& codec, bool html) : rows_(rows), codec_(codec), html_(html)
    {
    }

    std::string_view Of(const Field& field, bool* exact = nullptr)
    {
        const std::string_view text = codec_.Decode(rows_.Value(field, unquoted_), decoded_);
        const bool markup = html_ && NeedsHtmlDecoding(text);
        if (exact) *exact = !markup;
        if (!markup) return text;
        HtmlFieldTextInto(text, htmlText_);
        return htmlText_;
    }

private:
    const RowReader& rows_;
    const InputCodec& codec_;
    bool html_;
    std::string unquoted_, decoded_, htmlText_;
};

// Whether the row has the column, with something in it.
bool Filled(const Row& row, std::size_t column)
{
    return row.count > column && row.fields[column].begin != row.fields[column].end;
}

std::vector<std::string> NamesOf(Words& words, const Row& row)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < row.count; ++i) names.emplace_back(words.Of(row.fields[i]));
    return names;
}

std::size_t ColumnNamed(const std::string& asked, const std::vector<std::string>& names, std::size_t count)
{
    if (IsNumber(asked)) {
        const auto number = ParseColumnNumber(asked);
        if (number && *number >= 1 && *number <= count) return *number - 1;
    } else {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (SameLettersAnyCase(TrimSpaces(names[i]), TrimSpaces(asked))) return i;
        }
    }
    throw ColumnsError{asked, names, count};
}

// Whether the first rows all have the same number of fields, two or more, split on ';', and
// not so on ','. A comma inside a French phrase ("oui, merci") is what tells them apart.
bool SplitsOnSemicolon(std::string_view text, const InputCodec& codec, const Layout& layout)
{
    const auto consistent = [&](char separator) {
        RowReader rows(text, codec, separator, Quoting::Csv);
        rows.Restart(layout.rowsBegin, layout.rowsLine);
        Row row;
        std::size_t first = 0;
        for (std::size_t n = 0; n < SampleRows && rows.Next(row);) {
            if (row.comment) continue;
            if (n++ == 0) first = row.count;
            if (row.count != first) return false;
        }
        return first >= 2;
    };
    return consistent(';') && !consistent(',');
}

// A first row that can't be a pair while the rows below can: French its code page can't
// hold, or Japanese without a Japanese character where most rows below have one.
std::optional<found::HeaderRowTaken> HeaderRow(RowReader& rows, Words& words, const Layout& layout)
{
    rows.Restart(layout.rowsBegin, layout.rowsLine);
    Row row;
    if (!rows.Next(row) || row.count <= layout.francais) return std::nullopt;
    const bool francaisUnfit =
        FirstUnfit(Side::Francais, words.Of(row.fields[layout.francais]), false).has_value();
    const bool japonaisPlain =
        row.count > layout.japonais && !HasJapanese(words.Of(row.fields[layout.japonais]));
    if (!francaisUnfit && !japonaisPlain) return std::nullopt;
    // Among the rows below that fill the cell.
    std::size_t rowsBelow = 0, francaisCells = 0, francaisFit = 0, japonaisCells = 0, japanese = 0;
    while (rowsBelow < SampleRows && rows.Next(row)) {
        if (row.comment) continue;
        ++rowsBelow;
        if (Filled(row, layout.francais)) {
            ++francaisCells;
            if (!FirstUnfit(Side::Francais, words.Of(row.fields[layout.francais]))) ++francaisFit;
        }
        if (Filled(row, layout.japonais)) {
            ++japonaisCells;
            if (HasJapanese(words.Of(row.fields[layout.japonais]))) ++japanese;
        }
    }
    if (francaisUnfit && francaisFit * 2 > francaisCells) return found::HeaderRowTaken{true};
    if (japonaisPlain && japanese * 2 > japonaisCells) return found::HeaderRowTaken{false};
    return std::nullopt;
}

// Anki's headers above the first row, then the separator, the header row and the columns.
Layout DecideLayout(std::string_view text, const InputCodec& codec, const ImportOptions& options)
{
    Layout layout;
    layout.html = options.html;
    bool anki = false;
    std::optional<char> headerSeparator;
    std::optional<std::string> columnsHeader;
    // The columns the tags, deck, note type and guid headers claim, 1-based (0: none); a
    // header given again replaces its own.
    std::map<HeaderKey, std::size_t> roles;
    RowReader lines(text, codec, '\t', Quoting::Tsv);
    Row row;
    layout.rowsBegin = text.size();
    while (lines.Next(row)) {
        if (!row.comment) {
            layout.rowsBegin = row.begin;
            layout.rowsLine = row.line;
            break;
        }
        const HeaderLine header = ParseHeaderLine(text.substr(row.begin, row.end - row.begin));
        const TextPosition at{row.line, 1};
        std::string decoded;
        const auto bad = [&] {
            layout.issues.push_back({at, found::BadHeader{header.key, std::string(header.name),
                                                          std::string(codec.Decode(header.value, decoded))}});
        };
        switch (header.key) {
            case HeaderKey::Comment:
                continue;
            case HeaderKey::Unknown:
                layout.issues.push_back({at, found::UnknownHeader{std::string(header.name)}});
                continue;
            case HeaderKey::Separator:
                if (const auto separator = ParseSeparatorName(header.value))
                    headerSeparator = *separator;
                else
                    bad();
                break;
            case HeaderKey::Html:
                if (const auto html = ParseHtmlValue(header.value))
                    layout.html = options.html || *html;
                else
                    bad();
                break;
            case HeaderKey::Columns:
                if (TrimSpaces(header.value).empty()) {
                    bad();
                } else {
                    columnsHeader = std::string(header.value);
                    layout.columnsAt = at;
                }
                break;
            case HeaderKey::TagsColumn:
            case HeaderKey::DeckColumn:
            case HeaderKey::NotetypeColumn:
            case HeaderKey::GuidColumn:
                if (const auto number = ParseColumnNumber(header.value))
                    roles[header.key] = *number;
                else
                    bad();
                break;
            case HeaderKey::Ignored:
                break;
        }
        anki = true;
    }

    layout.separator = options.separator.value_or(headerSeparator.value_or(options.csv ? ',' : '\t'));
    if (!options.separator && !headerSeparator && options.csv && SplitsOnSemicolon(text, codec, layout)) {
        layout.separator = ';';
        layout.semicolonGuessed = true;
    }
    layout.quoting = layout.separator != '\t' || anki ? Quoting::Csv : Quoting::Tsv;
    layout.lenient = anki || options.cells || options.header.value_or(false) || !options.columns.empty();

    RowReader rows(text, codec, layout.separator, layout.quoting);
    Words words(rows, codec, layout.html);
    std::vector<std::string> names;
    if (columnsHeader) {
        // Split as the rows are, but a '#' at its start is a name's.
        RowReader header(*columnsHeader, codec, layout.separator, layout.quoting, false);
        Words headerWords(header, codec, layout.html);
        if (header.Next(row)) names = NamesOf(headerWords, row);
        layout.columnsNamed = std::max<std::size_t>(names.size(), 1);
    }
    const auto isRole = [&](std::size_t column) {
        return std::any_of(roles.begin(), roles.end(),
                           [&](const auto& role) { return role.second == column + 1; });
    };
    std::size_t column = 0;
    while (isRole(column)) ++column;
    layout.francais = column++;
    while (isRole(column)) ++column;
    layout.japonais = column;

    layout.headerRow = options.header.value_or(false);
    // Anki's files never have a row of names: it reads the first row as a note.
    if (!options.header && options.columns.empty() && !anki) {
        if (const auto taken = HeaderRow(rows, words, layout)) {
            layout.headerRow = true;
            layout.lenient = true;
            layout.issues.push_back({TextPosition{layout.rowsLine, 1}, *taken});
        }
    }
    rows.Restart(layout.rowsBegin, layout.rowsLine);
    const bool hasRow = rows.Next(row);
    if (layout.headerRow && hasRow) names = NamesOf(words, row);
    if (options.columns.size() == 2 && hasRow) {
        const std::size_t count = names.empty() ? row.count : names.size();
        layout.francais = ColumnNamed(options.columns[0], names, count);
        layout.japonais = ColumnNamed(options.columns[1], names, count);
    }
    return layout;
}

// The rows a layout reads, the header row passed.
RowReader RowsOf(std::string_view text, const InputCodec& codec, const Layout& layout)
{
    RowReader rows(text, codec, layout.separator, layout.quoting);
    rows.Restart(layout.rowsBegin, layout.rowsLine);
    Row row;
    if (layout.headerRow) rows.Next(row);
    return rows;
}

struct Reading {
    TextEncoding encoding;
    Layout layout;
    std::optional<ColumnsError> columnsError;
    std::optional<Misfit> misfit;
    bool nonAscii = false;  // in a word: then another reading gives other words
};

Reading ReadAs(std::string_view text, TextEncoding encoding, const ImportOptions& options)
{
    Reading reading{encoding, {}, std::nullopt, std::nullopt, false};
    const InputCodec codec(encoding, false);
    try {
        reading.layout = DecideLayout(text, codec, options);
    } catch (const ColumnsError& error) {
        reading.columnsError = error;
        return reading;
    }
    const Layout& layout = reading.layout;
    RowReader rows = RowsOf(text, codec, layout);
    Words words(rows, codec, layout.html);
    Row row;
    while (!reading.misfit && rows.Next(row)) {
        if (row.comment) continue;
        for (const auto& [side, column] :
             {std::pair{Side::Francais, layout.francais}, {Side::Japonais, layout.japonais}}) {
            if (row.count <= column) continue;
            const Field& field = row.fields[column];
            const std::string_view raw = text.substr(field.begin, field.end - field.begin);
            reading.nonAscii = reading.nonAscii || !IsAscii(raw);
            bool exact = true;
            const std::string_view value = words.Of(field, &exact);
            if (const auto unfit = FirstUnfit(side, value)) {
                reading.misfit = Misfit{rows.Locate(row, field, exact ? CharsIn(value, unfit->first) : 0),
                                        side, unfit->second};
                break;
            }
        }
    }
    return reading;
}

// One pass over the rows: each row's issues gather apart, since a row with a problem keeps
// none of its notes (a cut in a skipped line never happened).
class RowImporter {
public:
    RowImporter(std::string_view text, const ImportPlan& plan, const ImportOptions& options,
                const RecordSink& sink)
        : codec_(plan.encoding, plan.validUtf8),
          layout_(plan.layout),
          options_(options),
          sink_(sink),
          rows_(RowsOf(text, codec_, layout_)),
          words_(rows_, codec_, layout_.html)
    {
    }

    ImportResult Run()
    {
        for (const ImportIssue& issue : layout_.issues) {
            if (issue.IsProblem()) ++result_.problems, ++result_.headerProblems;
            result_.issues.push_back(issue);
        }
        RefuseTooManyRows();
        while (rows_.Next(row_)) {
            if (row_.comment)
                Comment();
            else
                Pair();
        }
        if (emptyRows_.count > 0) result_.issues.push_back({emptyRowsAt_, emptyRows_});
        for (const ImportIssue& issue : equivalents_) result_.issues.push_back(issue);
        if (lostAccents_.count > 0) result_.issues.push_back({lostAccentsAt_, lostAccents_});
        return std::move(result_);
    }

private:
    // A list counts its records in a signed 32-bit number. Where the input may hold more rows
    // (two bytes make the shortest), they are counted first, so that a too large input is
    // refused before a record is written, not after the disk filled up.
    void RefuseTooManyRows()
    {
        constexpr std::int64_t Most = std::numeric_limits<std::int32_t>::max();
        if (rows_.Text().size() / 2 <= static_cast<std::size_t>(Most)) return;
        RowReader rows = RowsOf(rows_.Text(), codec_, layout_);
        std::int64_t count = 0;
        while (rows.Next(row_) && count <= Most) count += row_.comment ? 0 : 1;
        if (count > Most) throw MessageError("ファイルが大きすぎます");
    }

    // Headers count only above the first row, as Anki reads them; below it a '#' line is a
    // comment, and one that would split like a pair is named, since it may be a lost pair.
    void Comment()
    {
        const std::string_view line = rows_.Text().substr(row_.begin, row_.end - row_.begin);
        const HeaderLine header = ParseHeaderLine(line);
        const TextPosition at{row_.line, 1};
        if (header.key != HeaderKey::Comment && header.key != HeaderKey::Unknown)
            result_.issues.push_back({at, found::LateHeader{std::string(header.name)}});
        else if (line.find(layout_.separator) != std::string_view::npos)
            result_.issues.push_back({at, found::CommentedRow{layout_.separator}});
    }

    // HTML may say nothing in many characters ("<br>").
    bool NoWords(std::size_t column)
    {
        return !Filled(row_, column) || (layout_.html && words_.Of(row_.fields[column]).empty());
    }

    template <class Found>
    void Add(TextPosition at, Found what)
    {
        rowIssues_.push_back({at, std::move(what)});
    }

    void Pair()
    {
        const bool francaisEmpty = NoWords(layout_.francais);
        const bool japonaisEmpty = NoWords(layout_.japonais);
        if (francaisEmpty && japonaisEmpty) {
            if (emptyRows_.count++ == 0) emptyRowsAt_ = TextPosition{row_.line, 1};
            return;
        }
        rowIssues_.clear();
        pendingEquivalents_.clear();
        if (row_.fault != RowFault::None) {
            const TextPosition at = rows_.PositionOf(row_, row_.faultAt);
            if (row_.fault == RowFault::UnclosedQuote) Add(at, found::UnclosedQuote{});
            if (row_.fault == RowFault::TextAfterQuote) Add(at, found::TextAfterQuote{});
            if (row_.fault == RowFault::QuoteAsText) Add(at, found::QuoteAsText{});
        }
        for (const auto& [side, column] :
             {std::pair{Side::Francais, layout_.francais}, std::pair{Side::Japonais, layout_.japonais}}) {
            if (row_.count <= column && !options_.cells)
                Add(rows_.PositionOf(row_, row_.end),
                    found::MissingField{side, column + 1, layout_.separator});
            static const Field none;
            Encode(side, row_.count > column ? row_.fields[column] : none);
        }
        if (!layout_.lenient) {
            for (std::size_t i = 2; i < row_.count; ++i) {
                if (!Filled(row_, i)) continue;
                Add(rows_.Locate(row_, row_.fields[i], 0),
                    found::ExtraField{Shown(words_.Of(row_.fields[i]))});
                break;
            }
        }
        bool problem = layout_.columnsNamed != 0 && DisagreesWithColumnsHeader();
        if (problem && !columnsMismatchTold_) {
            columnsMismatchTold_ = true;
            result_.issues.push_back(
                {layout_.columnsAt, found::ColumnsMismatch{layout_.columnsNamed, row_.count, row_.line}});
            ++result_.problems;
        }
        std::stable_sort(rowIssues_.begin(), rowIssues_.end(),
                         [](const ImportIssue& a, const ImportIssue& b) {
                             return std::pair(a.at.line, a.at.column) < std::pair(b.at.line, b.at.column);
                         });
        for (const ImportIssue& issue : rowIssues_) problem = problem || issue.IsProblem();
        if (problem) {
            for (ImportIssue& issue : rowIssues_) {
                if (!issue.IsProblem()) continue;
                ++result_.problems;
                result_.issues.push_back(std::move(issue));
            }
            if (options_.skip) {
                result_.issues.push_back({TextPosition{row_.line, 1}, found::Skipped{row_.lastLine}});
                ++result_.skippedRows;
            }
            return;
        }
        for (ImportIssue& issue : rowIssues_) {
            if (std::holds_alternative<found::Cut>(issue.what)) ++result_.cutFields;
            result_.issues.push_back(std::move(issue));
        }
        if (francaisEmpty || japonaisEmpty)
            result_.issues.push_back({TextPosition{row_.line, 1},
                                      found::EmptyWord{francaisEmpty ? Side::Francais : Side::Japonais}});
        for (const ImportIssue& pending : pendingEquivalents_) {
            const auto& equivalent = std::get<found::Equivalent>(pending.what);
            if (found::Equivalent* noted = EquivalentNoted(equivalent.character))
                noted->count += equivalent.count;
            else
                equivalents_.push_back(pending);
        }
        if (lostAccent_ && lostAccents_.count++ == 0) lostAccentsAt_ = TextPosition{row_.line, 1};
        if (result_.records >= std::numeric_limits<std::int32_t>::max())
            throw MessageError("ファイルが大きすぎます");
        TWordRec record{};
        record.SetFrancais(francais_.Bytes());
        record.SetJaponais(japonais_.Bytes());
        sink_(record);
        ++result_.records;
    }

    // Spreadsheets pad rows with empty fields up to their widest column; that isn't a column
    // more.
    bool DisagreesWithColumnsHeader() const
    {
        if (row_.count < layout_.columnsNamed) return true;
        for (std::size_t i = layout_.columnsNamed; i < row_.count; ++i) {
            if (Filled(row_, i)) return true;
        }
        return false;
    }

    // Every character is checked before the length, so that a cut is only ever made in a field
    // that is otherwise good.
    void Encode(Side side, const Field& field)
    {
        EncodedField& encoded = side == Side::Francais ? francais_ : japonais_;
        bool exact = true;
        const std::string_view text = words_.Of(field, &exact);
        const auto at = [&](std::size_t offset) {
            return rows_.Locate(row_, field, exact ? CharsIn(text, offset) : 0);
        };
        const std::size_t limit = EditorLimitOf(side);
        EncodeField(CodePageOf(side), text, limit, encoded);
        if (side == Side::Francais) lostAccent_ = codec_.Legacy() && HasLostAccent(text);
        for (const auto& [offset, c] : encoded.controls) Add(at(offset), found::ControlCharacter{side, c});
        for (const auto& [offset, c] : encoded.unmapped) {
            if (IsEscape(c))
                Add(at(offset), found::UndecodableByte{side, EscapedByte(c)});
            else
                Add(at(offset), found::NotInCodePage{side, c});
        }
        for (const auto& [offset, c, count] : encoded.equivalents) {
            // A character is placed only where it is first noted.
            const TextPosition place = EquivalentNoted(c) ? TextPosition{} : at(offset);
            pendingEquivalents_.push_back(
                {place, found::Equivalent{side, c, StandardEquivalent(CodePageOf(side), c), count}});
        }
        if (!encoded.unmapped.empty() || !encoded.controls.empty() || encoded.length <= limit) return;
        if (!options_.cut) {
            Add(at(0), found::TooLong{side, encoded.length, limit, Shown(text)});
            return;
        }
        Add(at(0), found::Cut{side, encoded.length, limit, Shown(text),
                              std::string(text.substr(0, encoded.fitTextLength))});
        encoded.length = encoded.fitBytes;
    }

    found::Equivalent* EquivalentNoted(char32_t c)
    {
        for (ImportIssue& issue : equivalents_) {
            auto& equivalent = std::get<found::Equivalent>(issue.what);
            if (equivalent.character == c) return &equivalent;
        }
        return nullptr;
    }

    const InputCodec codec_;
    const Layout& layout_;
    const ImportOptions& options_;
    const RecordSink& sink_;
    RowReader rows_;
    Words words_;
    Row row_;
    ImportResult result_;
    std::vector<ImportIssue> rowIssues_;
    EncodedField francais_, japonais_;
    bool columnsMismatchTold_ = false;
    bool lostAccent_ = false;
    found::EmptyRows emptyRows_{0};
    TextPosition emptyRowsAt_;
    found::LostAccents lostAccents_{0};
    TextPosition lostAccentsAt_;
    std::vector<ImportIssue> equivalents_;         // one for each character, in the order first met
    std::vector<ImportIssue> pendingEquivalents_;  // this row's
};

}  // namespace

ImportPlan PlanImport(std::string_view text, std::optional<TextEncoding> bom,
                      std::optional<TextEncoding> stated, const ImportOptions& options)
{
    ImportPlan plan;
    const std::size_t notUtf8 = FindInvalidUtf8(text);
    plan.validUtf8 = notUtf8 == std::string_view::npos;
    if (bom || plan.validUtf8 || stated) {
        plan.encoding = bom ? *bom : plan.validUtf8 ? TextEncoding::Utf8 : *stated;
        plan.layout = DecideLayout(text, InputCodec(plan.encoding, plan.validUtf8), options);
        return plan;
    }
    // Everything before the first byte that isn't UTF-8 is UTF-8, so its place is exact.
    const InputCodec utf8(TextEncoding::Utf8, false);
    RowReader lines(text, utf8, '\n', Quoting::Csv);
    plan.firstNotUtf8 = lines.PositionOf(Row{}, notUtf8);
    plan.chosen = true;
    Reading shiftJis = ReadAs(text, TextEncoding::Cp932, options);
    Reading windows1252 = ReadAs(text, TextEncoding::Cp1252, options);
    const auto fits = [](const Reading& reading) { return !reading.columnsError && !reading.misfit; };
    const Reading* taken = nullptr;
    if (fits(shiftJis) && fits(windows1252)) {
        if (!shiftJis.nonAscii) taken = &shiftJis;  // the words are the same under both
    } else if (fits(shiftJis)) {
        taken = &shiftJis;
    } else if (fits(windows1252)) {
        taken = &windows1252;
    } else {
        // Which columns hold the words must be settled before an encoding can be.
        if (shiftJis.columnsError) throw *shiftJis.columnsError;
        if (windows1252.columnsError) throw *windows1252.columnsError;
        plan.shiftJis = shiftJis.misfit;
        plan.windows1252 = windows1252.misfit;
    }
    if (!taken) {
        plan.undecided = true;
        return plan;
    }
    plan.encoding = taken->encoding;
    plan.layout = std::move(taken->layout);
    return plan;
}

ImportResult ImportRows(std::string_view text, const ImportPlan& plan, const ImportOptions& options,
                        const RecordSink& sink)
{
    return RowImporter(text, plan, options, sink).Run();
}

}  // namespace mirvel::convert
