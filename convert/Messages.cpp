#include "convert/Messages.h"

#include "common/CodePage.h"
#include "convert/AnkiHeaders.h"
#include "convert/TerminalText.h"
#include "convert/TextEncoding.h"

#include <cstdio>
#include <variant>

namespace mirvel::convert {
namespace {

std::string SideName(Side side) { return side == Side::Francais ? "フランス語" : "日本語"; }
std::string CodePageName(Side side) { return side == Side::Francais ? "Windows-1252" : "Shift-JIS"; }
std::string Quoted(const std::string& text) { return "「" + Printable(text) + "」"; }

std::string CodePointText(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// Spaces, format characters, combining marks alone: nothing to see between 「」.
bool IsInvisible(char32_t c)
{
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || (c >= 0x300 && c <= 0x36F) || c == 0x34F ||
           c == 0x115F || c == 0x1160 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0x3164 ||
           (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c == 0xFFA0 ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

std::string CharText(char32_t c)
{
    if (IsInvisible(c)) return " " + CodePointText(c) + " ";
    std::string text;
    AppendUtf8(text, c);
    return Quoted(text) + "(" + CodePointText(c) + ")";
}

std::string ByteText(unsigned char byte)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", byte);
    return buffer;
}

std::string BytesText(const std::string& bytes)
{
    std::string text;
    for (const char byte : bytes)
        text += (text.empty() ? "" : " ") + ByteText(static_cast<unsigned char>(byte));
    return text;
}

std::string Where(const std::string& file, TextPosition at)
{
    return file + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": ";
}

std::string Record(std::int64_t record) { return "レコード " + std::to_string(record) + ": "; }

std::string Line(std::int64_t line) { return std::to_string(line) + " 行目"; }

std::string LineAndColumn(TextPosition at)
{
    return Line(at.line) + " " + std::to_string(at.column) + " 列目";
}

// A separator a row is read with, or a character that would split a TSV field, as the user
// would name it.
std::string SeparatorName(char32_t c)
{
    switch (c) {
        case '\t':
            return "タブ";
        case ',':
            return "コンマ";
        case ';':
            return "セミコロン";
        case ' ':
            return "空白";
        case '"':
            return "引用符 \"";
        case '\r':
        case '\n':
            return "改行";
        default:
            return "「" + std::string(1, static_cast<char>(c)) + "」";
    }
}

std::string DisplayName(TextEncoding encoding)
{
    return encoding == TextEncoding::Cp932    ? "Shift-JIS"
           : encoding == TextEncoding::Cp1252 ? "Windows-1252"
                                              : EncodingName(encoding);
}

// What a header's value may be, by its key.
std::string HeaderValuesText(HeaderKey key)
{
    switch (key) {
        case HeaderKey::Separator:
            return "Tab、Comma、Semicolon、Pipe、Space、Colon か 1 文字です";
        case HeaderKey::Html:
            return "true か false です";
        case HeaderKey::Columns:
            return "列の名前を区切りで区切って並べます";
        default:
            return "1 から数える列の番号か、列がないときの 0 です";
    }
}

struct IssueWords {
    const std::string& where;      // "file:line:column: "
    const std::string& whereLine;  // "file:line: "
    TextPosition at;
    TextEncoding encoding;
    const SheetText* sheet;

    std::string operator()(const found::TooLong& f) const
    {
        return where + SideName(f.side) + Quoted(f.text) + "は " + CodePageName(f.side) + " で " +
               std::to_string(f.bytes) + " バイトあり、上限の " + std::to_string(f.limit) +
               " バイトを超えています";
    }
    std::string operator()(const found::NotInCodePage& f) const
    {
        return where + SideName(f.side) + "の" + CharText(f.character) + "は " + CodePageName(f.side) +
               " にない文字です";
    }
    std::string operator()(const found::UndecodableByte& f) const
    {
        if (const WorkbookCell* cell = sheet ? sheet->ProblemAt(at) : nullptr)
            return where + CellProblemText(*cell);
        return where + SideName(f.side) + "の欄のバイト " + ByteText(f.byte) + " は " +
               EncodingName(encoding) + " として読めません";
    }
    std::string operator()(const found::ControlCharacter& f) const
    {
        return where + SideName(f.side) + "の欄に制御文字 " + CodePointText(f.character) + " があります";
    }
    std::string operator()(const found::MissingField& f) const
    {
        if (f.side == Side::Japonais && f.column == 2)
            return where + "日本語の欄がありません（フランス語と日本語を" + SeparatorName(f.separator) +
                   "で区切ってください）";
        return where + std::to_string(f.column) + " 列目の" + SideName(f.side) + "の欄がありません";
    }
    std::string operator()(const found::ExtraField& f) const
    {
        return where + "3 つ目の欄" + Quoted(f.text) +
               "があります（欄はフランス語と日本語の 2 つです。ほかの列を無視するには --columns 1,2 "
               "を、1 行目が列の名前なら --header も付けてください）";
    }
    std::string operator()(const found::UnclosedQuote&) const { return where + "引用符 \" が閉じていません"; }
    std::string operator()(const found::TextAfterQuote&) const
    {
        return where + "閉じる引用符 \" のあとに区切り以外の文字があります";
    }
    std::string operator()(const found::ColumnsMismatch& f) const
    {
        return whereLine + "#columns: の列は " + std::to_string(f.named) + " つですが、" + Line(f.line) +
               "は " + std::to_string(f.found) + " 列です（列の数が合わない行は書き込みません）";
    }
    std::string operator()(const found::BadHeader& f) const
    {
        return whereLine + "ヘッダー「#" + f.name + ":」の値" + Quoted(f.value) + "は使えません（" +
               HeaderValuesText(f.key) + "）";
    }
    std::string operator()(const found::Cut& f) const
    {
        return where + SideName(f.side) + Quoted(f.text) + "（" + std::to_string(f.bytes) +
               " バイト）を上限の " + std::to_string(f.limit) + " バイトに収まる" + Quoted(f.kept) +
               "に切り詰めました";
    }
    std::string operator()(const found::Skipped& f) const
    {
        if (f.lastLine > at.line && !sheet)  // a sheet's row is one, whatever its cells' lines
            return whereLine + Line(at.line) + "から " + Line(f.lastLine) + "までを飛ばしました";
        return whereLine + "この行を飛ばしました";
    }
    std::string operator()(const found::UnknownHeader& f) const
    {
        return whereLine + "知らないヘッダー「#" + f.name + ":」を無視しました";
    }
    std::string operator()(const found::LateHeader& f) const
    {
        return whereLine + "ヘッダー「#" + f.name + ":」は表の最初の行より上にしか書けないため、無視しました";
    }
    std::string operator()(const found::CommentedRow& f) const
    {
        return whereLine + "# で始まる行は" + SeparatorName(f.separator) +
               "を含んでいても単語の組ではなく注釈として読み飛ばしました";
    }
    std::string operator()(const found::QuoteAsText&) const
    {
        return where + "\" で始まる欄が引用符で閉じていないため、\" も文字として読みました";
    }
    std::string operator()(const found::HeaderRowTaken& f) const
    {
        return whereLine + "この行は" +
               (f.francaisNotInCodePage ? std::string("フランス語の欄に Windows-1252 にない文字があり")
                                        : std::string("日本語の欄に日本語の文字がなく")) +
               "、続く行は単語の組なので、列の名前の行として読み飛ばしました（組として読むには --no-header "
               "を付けてください）";
    }
    std::string operator()(const found::EmptyWord& f) const
    {
        return whereLine + SideName(f.side) + "が空の組です";
    }
    std::string operator()(const found::EmptyRows& f) const
    {
        return whereLine + "フランス語も日本語も空の行を " + std::to_string(f.count) +
               " 行読み飛ばしました（最初の行がここです）";
    }
    std::string operator()(const found::Equivalent& f) const
    {
        return whereLine + SideName(f.side) + "の" + CharText(f.character) + "は " + CodePageName(f.side) +
               " にないため、規格で同じ文字とされる" + CharText(f.stored) + "として読みました（" +
               std::to_string(f.count) + " か所、最初がここです）";
    }
    std::string operator()(const found::LostAccents& f) const
    {
        return whereLine + "フランス語の " + std::to_string(f.count) +
               " 組で文字のとなりに「?」があります（最初がここです）。表計算ソフトが " +
               DisplayName(encoding) +
               " で保存したときにアクセント付きの文字が失われたようです。「CSV UTF-8」で保存し直して、"
               "もう一度読み込んでください";
    }
};

}  // namespace

std::string ImportIssueText(const std::string& file, const ImportIssue& issue, TextEncoding encoding,
                            const SheetText* sheet)
{
    const std::string where = sheet ? file + ":" + sheet->CellAt(issue.at) + ": " : Where(file, issue.at);
    const std::string whereLine =
        file + ":" + (sheet ? sheet->RowAt(issue.at.line) : std::to_string(issue.at.line)) + ": ";
    return std::visit(IssueWords{where, whereLine, issue.at, encoding, sheet}, issue.what);
}

std::string EmptySheetText(const std::string& sheet)
{
    return "シート「" + sheet +
           "」には文字の入ったセルがないため、何も書き込んでいません（ほかのシートは --sheet で選べます）";
}

std::string EncodingChosenText(const std::string& file, TextEncoding encoding)
{
    return file + ": UTF-8 ではないため、" + DisplayName(encoding) +
           " として読みました（ほかの文字コードなら --encoding で指定してください）";
}

std::string EncodingUndecidedText(const std::string& file, const ImportPlan& plan)
{
    const std::string ask = "。文字コードを --encoding cp932 か --encoding cp1252 で指定してください";
    if (!plan.shiftJis || !plan.windows1252) {
        return Where(file, plan.firstNotUtf8) +
               "Shift-JIS としても Windows-1252 としても読めるため、どちらか決められません" + ask;
    }
    // The first reason runs on into the second.
    const auto misfitText = [](const Misfit& misfit, bool last) {
        const std::string at = LineAndColumn(misfit.at) + "の" + SideName(misfit.side);
        if (IsEscape(misfit.character))
            return at + "の欄のバイト " + ByteText(EscapedByte(misfit.character)) +
                   (last ? " が読めません" : " が読めず");
        return at + "の" + CharText(misfit.character) + "が " + CodePageName(misfit.side) +
               (last ? " にありません" : " になく");
    };
    return file + ": Shift-JIS としても Windows-1252 としても読めません（Shift-JIS では " +
           misfitText(*plan.shiftJis, false) + "、Windows-1252 では " + misfitText(*plan.windows1252, true) +
           "）" + ask;
}

std::string SemicolonGuessedText(const std::string& file)
{
    return file +
           ": 各行がコンマではなくセミコロン (;) で区切られているため、セミコロン区切りとして読みました"
           "（区切りは --separator で指定できます）";
}

std::string ColumnsErrorText(const ColumnsError& error)
{
    const bool number = IsNumber(error.asked);
    std::string text = number ? "--columns の " + error.asked + " 列目はありません"
                              : "--columns の" + Quoted(error.asked) + "という列はありません";
    if (error.names.empty()) {
        text +=
            "。列は " +
            (error.count == 1 ? std::string("1 つだけ") : "1 から " + std::to_string(error.count) + " まで") +
            "です";
        if (!number) text += "（列の名前がありません。1 行目が列の名前なら --header を付けてください）";
        return text;
    }
    text += "。列は ";
    for (std::size_t i = 0; i < error.names.size(); ++i)
        text += (i == 0 ? "" : "、") + std::to_string(i + 1) + Quoted(error.names[i]);
    return text + "です";
}

std::string StatedEncodingUnusedText(const std::string& file, TextEncoding stated, bool bom,
                                     TextEncoding used)
{
    return file + ": " + (bom ? "BOM があるので" : "正しい UTF-8 なので") + "、--encoding " +
           EncodingName(stated) + " ではなく " + EncodingName(used) + " として読みました";
}

std::string ImportRefusedText(const std::string& output, const ImportResult& result)
{
    if (result.headerProblems > 0)
        return "ヘッダーに問題があるため、" + output + " には何も書き込んでいません";
    if (result.skippedRows > 0)
        return "どの行にも問題があったため、" + output + " には何も書き込んでいません";
    bool tooLong = false;
    for (const ImportIssue& issue : result.issues)
        tooLong = tooLong || std::holds_alternative<found::TooLong>(issue.what);
    return "問題が " + std::to_string(result.problems) + " 件あったため、" + output +
           " には何も書き込んでいません。問題のある行を飛ばして書き込むには --skip を" +
           (tooLong ? "、長すぎる欄を切り詰めるには --cut を" : "") + "付けてください";
}

std::string ImportDoneText(const std::string& output, const ImportResult& result)
{
    std::string text = std::to_string(result.records) + " 組を " + output + " に書き込みました";
    if (result.skippedRows > 0 || result.cutFields > 0) {
        text += "（";
        if (result.skippedRows > 0) text += "飛ばした行 " + std::to_string(result.skippedRows);
        if (result.skippedRows > 0 && result.cutFields > 0) text += "、";
        if (result.cutFields > 0) text += "切り詰めた欄 " + std::to_string(result.cutFields);
        text += "）";
    }
    return text;
}

std::string EmptyFirstFieldText(std::int64_t first, std::int64_t count)
{
    std::string text = Record(first) + "フランス語が空です";
    if (count > 1) text += "（ほかに " + std::to_string(count - 1) + " 件）";
    return text + "。Anki は最初の欄が空のノートを取り込まないため、その組は Anki に入りません";
}

std::string ExportRefusedText(const std::string& output, const ExportResult& result)
{
    bool separator = false;
    bool undecodable = false;
    for (const RecordFinding& issue : result.issues) {
        separator = separator || issue.kind == RecordFinding::TsvSeparator;
        undecodable = undecodable || issue.kind == RecordFinding::Undecodable;
    }
    std::string text = "書き出せない欄が " + std::to_string(result.Refusals()) + " 件あったため、" + output +
                       " には何も書き込んでいません";
    if (separator) text += "。タブ・引用符・改行を含む欄は --csv なら書き出せます";
    if (undecodable) text += "。壊れた箇所は mirvel-convert check で確かめられます";
    return text;
}

std::string ExportDoneText(const std::string& output, std::size_t records)
{
    return std::to_string(records) + " 組を " + output + " に書き出しました";
}

std::string RecordCountText(const std::string& file, std::int64_t count)
{
    return file + ": レコード " + std::to_string(count) + " 件";
}

std::string RecordFindingText(const RecordFinding& finding, std::optional<TextEncoding> exportEncoding)
{
    const bool exported = exportEncoding.has_value();
    const std::string record = Record(finding.record) + SideName(finding.side);
    const std::string head = exported ? record + Quoted(finding.text) : record;
    const std::string byteAt = "の " + std::to_string(finding.byteIndex + 1) + " バイト目";
    const std::string capacity = std::to_string(CapacityOf(finding.side));
    switch (finding.kind) {
        case RecordFinding::Undecodable:
            return head + byteAt + " " + BytesText(finding.bytes) + " は " + CodePageName(finding.side) +
                   (exported ? " として読めないため、書き出せません" : " として読めません");
        case RecordFinding::TsvSeparator:
            return head + "に" + SeparatorName(finding.character) + "があるため、TSV には書き出せません";
        case RecordFinding::NotInEncoding:
            return head + "の" + CharText(finding.character) + "は " + EncodingName(*exportEncoding) +
                   " で書き出せません";
        case RecordFinding::LengthAboveCapacity:
            if (exported)
                return record + "の長さバイト " + std::to_string(finding.length) + " が容量の " + capacity +
                       " を超えているので、" + capacity + " バイトすべてをその値として扱います";
            return record + "の長さバイトが " + std::to_string(finding.length) + " で、容量の " + capacity +
                   " バイトを超えています";
        case RecordFinding::ControlCharacter:
            return record + byteAt + "に制御文字 " +
                   CodePointText(static_cast<unsigned char>(finding.bytes[0])) + " があります";
        case RecordFinding::TrailingPartial:
            return Record(finding.record) + "末尾の " + std::to_string(finding.bytes.size()) +
                   " バイトは 1 件 60 "
                   "バイトに満たない半端なレコードです（どちらのプログラムも読み飛ばします）";
    }
    return head;
}

std::string CheckVerdictText(std::size_t findings)
{
    if (findings == 0) return "問題はありません";
    return "問題が " + std::to_string(findings) + " 件あります";
}

std::string TrailingSkippedText(const std::string& file, std::size_t bytes)
{
    return file + ": 末尾の " + std::to_string(bytes) +
           " バイトは 1 件 60 バイトに満たないため、読み飛ばしました";
}

std::string FileErrorText(const std::string& file, const std::string& message)
{
    return "mirvel-convert: " + file + ": " + message;
}

std::string SameFileText(const std::string& file) { return "入力と出力が同じファイルです: " + file; }

}  // namespace mirvel::convert
