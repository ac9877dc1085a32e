#include "convert/Export.h"

#include "convert/EncodedField.h"
#include "convert/TextEncoding.h"

#include <algorithm>

namespace mirvel::convert {
namespace {

// What would split a TSV field or take its quotes away; Anki quotes a field that holds one.
constexpr const char* TsvBreakers = "\t\"\r\n";

bool NeedsCsvQuotes(const std::string& text) { return text.find_first_of(",\"\r\n") != std::string::npos; }

bool NeedsAnkiQuotes(Side side, const std::string& text)
{
    return text.find_first_of(TsvBreakers) != std::string::npos ||
           (side == Side::Francais && !text.empty() && text[0] == '#');
}

constexpr const char* AnkiHeaders = "#separator:tab\n#html:false\n";

}  // namespace

RecordFinding& AddFinding(std::vector<RecordFinding>& findings, RecordFinding::Kind kind, std::int64_t record,
                          Side side, const std::string& text)
{
    RecordFinding& finding = findings.emplace_back();
    finding.kind = kind;
    finding.record = record;
    finding.side = side;
    finding.text = text;
    return finding;
}

std::optional<std::string> ScanField(std::vector<RecordFinding>& findings, std::int64_t record, Side side,
                                     unsigned char length, std::string_view bytes, bool controls)
{
    std::vector<UndecodableRun> undecodable;
    std::string text = DecodeToUtf8(CodePageOf(side), bytes, undecodable);
    const bool damagedLength = length > CapacityOf(side);
    if (damagedLength)
        AddFinding(findings, RecordFinding::LengthAboveCapacity, record, side, text).length = length;
    for (const UndecodableRun& run : undecodable) {
        RecordFinding& finding = AddFinding(findings, RecordFinding::Undecodable, record, side, text);
        finding.byteIndex = run.index;
        finding.bytes = bytes.substr(run.index, run.length);
    }
    // A control byte is never the second byte of a Shift-JIS pair, so each one is a character.
    // Behind a damaged length byte they are the record's padding, which that finding explains.
    for (std::size_t at = 0; controls && !damagedLength && at < bytes.size(); ++at) {
        if (!IsControlCharacter(static_cast<unsigned char>(bytes[at]))) continue;
        RecordFinding& finding = AddFinding(findings, RecordFinding::ControlCharacter, record, side);
        finding.byteIndex = at;
        finding.bytes = bytes.substr(at, 1);
    }
    if (!undecodable.empty()) return std::nullopt;
    return text;
}

void CheckRecords(const TWordRec* records, std::size_t count, std::int64_t first,
                  std::vector<RecordFinding>& findings)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t record = first + static_cast<std::int64_t>(i);
        ScanField(findings, record, Side::Francais, records[i].Francais[0], records[i].FrancaisBytes(), true);
        ScanField(findings, record, Side::Japonais, records[i].Japonais[0], records[i].JaponaisBytes(), true);
    }
}

ExportWriter::ExportWriter(const ExportOptions& options) : options_(options)
{
    if (options_.anki) {
        options_.csv = false;
        options_.encoding = TextEncoding::Utf8;
        options_.bom = false;
        result.bytes = AnkiHeaders;
    }
    if (options_.bom && options_.encoding == TextEncoding::Utf8) result.bytes = "\xEF\xBB\xBF";
}

void ExportWriter::Add(const TWordRec* records, std::size_t count, std::int64_t first)
{
    result.bytes.reserve(result.bytes.size() + count * 48);
    for (std::size_t i = 0; i < count; ++i) {
        record_ = first + static_cast<std::int64_t>(i);
        if (options_.anki && records[i].Francais[0] == 0 && result.emptyFrancais++ == 0)
            result.firstEmptyFrancais = record_;
        AppendField(Side::Francais, records[i].Francais[0], records[i].FrancaisBytes());
        result.bytes += options_.csv ? ',' : '\t';
        AppendField(Side::Japonais, records[i].Japonais[0], records[i].JaponaisBytes());
        result.bytes += options_.anki ? "\n" : "\r\n";
    }
}

void ExportWriter::AppendField(Side side, unsigned char length, std::string_view bytes)
{
    const std::optional<std::string> decoded = ScanField(result.issues, record_, side, length, bytes, false);
    if (!decoded) return;
    const std::string& text = *decoded;
    if (!options_.csv && !options_.anki) {
        const std::size_t breaker = text.find_first_of(TsvBreakers);
        if (breaker != std::string::npos) {
            AddFinding(result.issues, RecordFinding::TsvSeparator, record_, side, text).character =
                text[breaker];
            return;
        }
    }
    std::string field = text;
    if (options_.anki ? NeedsAnkiQuotes(side, text) : options_.csv && NeedsCsvQuotes(text)) {
        field = "\"";
        for (const char c : text) {
            if (c == '"') field += '"';
            field += c;
        }
        field += '"';
    }
    if (options_.encoding == TextEncoding::Utf8) {
        result.bytes += field;
        return;
    }
    // The first character the encoding lacks is enough to find the record.
    const CodePage codePage =
        options_.encoding == TextEncoding::Cp932 ? CodePage::ShiftJis : CodePage::Windows1252;
    for (std::size_t at = 0; at < field.size();) {
        const char32_t c = NextUtf8(field, at);
        char encoded[2];
        const std::size_t encodedLength = EncodeChar(codePage, c, encoded);
        if (encodedLength == 0) {
            AddFinding(result.issues, RecordFinding::NotInEncoding, record_, side, text).character = c;
            return;
        }
        result.bytes.append(encoded, encodedLength);
    }
}

std::size_t ExportResult::Refusals() const
{
    return static_cast<std::size_t>(std::count_if(
        issues.begin(), issues.end(), [](const RecordFinding& issue) { return issue.IsRefusal(); }));
}

}  // namespace mirvel::convert
