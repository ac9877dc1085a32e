#include "convert/Workbook.h"

#include "common/Utf8Text.h"
#include "common/os/File.h"
#include "convert/WorkbookParts.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace mirvel::convert {

using namespace workbook;

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Text a person would have saved as CSV or TSV: no NUL byte near the start.
bool LooksLikeText(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, 4096);
    if (StartsWith(head, "\xFF\xFE") || StartsWith(head, "\xFE\xFF"))
        return true;  // UTF-16, as "Unicode text"
    return !head.empty() && head.find('\0') == std::string_view::npos;
}

std::string ReadOds(ZipArchive& zip, const SheetChoice& sheet, const RowHandler& onRow)
{
    return ReadOdsContent(zip.Part("content.xml"), sheet, onRow);
}

}  // namespace

std::string ReadWorkbook(std::string_view bytes, const SheetChoice& sheet, const RowHandler& onRow)
{
    if (bytes.size() > MaxWorkbookBytes)
        throw WorkbookError("ブックが " + std::to_string(MaxWorkbookBytes >> 20) +
                            " MB を超えるため読めません");
    if (StartsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw WorkbookError(
            "パスワードで保護されたブックか、古い Excel 97-2003 形式 (.xls) のブックのため読めません。"
            "パスワードを付けずに .xlsx 形式で保存し直してください");
    if (!StartsWith(bytes, "PK\x03\x04") && !StartsWith(bytes, "PK\x05\x06")) {
        if (LooksLikeText(bytes))
            throw WorkbookError(
                "表計算のブック (.xlsx、.ods) ではなく、テキスト（CSV など）のようです。"
                "CSV なら拡張子を .csv に、タブ区切りなら .tsv にしてください");
        throw WorkbookError("表計算のブック (.xlsx、.ods) ではありません");
    }
    ZipArchive zip(bytes);
    if (zip.Has("content.xml") && zip.Has("mimetype")) {
        const std::string mimetype = zip.ReadAll("mimetype");
        if (!StartsWith(mimetype, "application/vnd.oasis.opendocument.spreadsheet"))
            throw WorkbookError("OpenDocument の表計算のブックではありません (" + Quoted(mimetype, 80) + ")");
        return ReadOds(zip, sheet, onRow);
    }
    if (zip.Has("[Content_Types].xml")) return ReadXlsx(zip, sheet, onRow);
    throw WorkbookError("ZIP ファイルですが、表計算のブック (.xlsx、.ods) ではありません");
}

std::string ReadWorkbookFile(const std::string& path, const SheetChoice& sheet, const RowHandler& onRow)
{
    os::RequireRegularFile(path);
    os::File file = os::File::OpenForReading(path);
    if (file.Size() > static_cast<std::int64_t>(MaxWorkbookBytes))
        throw WorkbookError("ブックが " + std::to_string(MaxWorkbookBytes >> 20) +
                            " MB を超えるため読めません");
    const std::string bytes = file.ReadAll();
    file.Close();
    return ReadWorkbook(bytes, sheet, onRow);
}

bool IsWorkbookName(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos)
        return false;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "xlsx" || extension == "xlsm" || extension == "ods";
}

std::string ColumnName(std::uint32_t column)
{
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::string SheetInReference(std::string_view sheet)
{
    // Excel quotes a name that isn't one word of letters, digits and underscores (Japanese
    // letters included), or that starts with a digit.
    bool quote = sheet.empty() || std::isdigit(static_cast<unsigned char>(sheet.front()));
    for (const char c : sheet) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && !std::isalnum(byte) && c != '_' && c != '.') quote = true;
    }
    std::string reference;
    if (quote) {
        reference += '\'';
        for (const char c : sheet) {
            if (c == '\'') reference += '\'';
            reference += c;
        }
        reference += '\'';
    } else {
        reference = sheet;
    }
    return reference;
}

std::string CellReference(std::string_view sheet, std::uint32_t row, std::uint32_t column)
{
    return SheetInReference(sheet) + "!" + ColumnName(column) + std::to_string(row);
}

std::string CellProblemText(const WorkbookCell& cell)
{
    switch (cell.problem) {
        case CellProblem::Date:
            return "日付か時刻のセルです（単語として読むには、セルの書式を文字列にして入力し直してください）";
        case CellProblem::Boolean:
            return "TRUE か FALSE の論理値のセルです";
        case CellProblem::Error:
            return "エラー値" + (cell.text.empty() ? std::string() : " " + cell.text) + " のセルです";
        case CellProblem::NoCachedValue:
            return "数式の計算結果が保存されていないセルです（Excel か LibreOffice "
                   "で開いて保存し直してください）";
        case CellProblem::FormattedNumber:
            return "通貨やパーセントなどの書式で表示される数値のセルです（表示どおりの文字にするには、"
                   "セルの書式を文字列にして入力し直してください）";
        case CellProblem::None:
            break;
    }
    return {};
}

namespace workbook {

std::optional<std::string> PlainNumber(std::string_view written)
{
    while (!written.empty() && written.front() == ' ') written.remove_prefix(1);
    while (!written.empty() && written.back() == ' ') written.remove_suffix(1);
    if (!written.empty() && written.front() == '+') written.remove_prefix(1);
    if (written.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), value);
    if (error != std::errc() || end != written.data() + written.size() || !std::isfinite(value))
        return std::nullopt;
    if (value == 0) return std::string("0");  // also -0
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string shown(buffer, result.ptr);
    // "1e+20" as the spreadsheets write it: "1E+20".
    const std::size_t e = shown.find('e');
    if (e != std::string::npos) shown[e] = 'E';
    return shown;
}

std::string Quoted(std::string_view text, std::size_t bytes)
{
    if (text.size() <= bytes) return std::string(text);
    while (bytes > 0 && IsContinuationByte(text[bytes])) --bytes;
    return std::string(text.substr(0, bytes)) + "…";
}

void AppendCellText(std::string& out, std::string_view text)
{
    const auto hex = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_' &&
            hex(text[i + 2]) >= 0 && hex(text[i + 3]) >= 0 && hex(text[i + 4]) >= 0 &&
            hex(text[i + 5]) >= 0) {
            char32_t code = static_cast<char32_t>((hex(text[i + 2]) << 12) | (hex(text[i + 3]) << 8) |
                                                  (hex(text[i + 4]) << 4) | hex(text[i + 5]));
            i += 6;
            // A character beyond the first plane as two escaped halves; a half alone is no
            // character.
            if (code >= 0xD800 && code <= 0xDBFF && i + 7 < text.size() && text.substr(i + 1, 2) == "_x" &&
                text[i + 7] == '_') {
                int low = 0;
                for (std::size_t k = i + 3; k < i + 7 && low >= 0; ++k)
                    low = hex(text[k]) < 0 ? -1 : low * 16 + hex(text[k]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + static_cast<char32_t>(low - 0xDC00));
                    i += 7;
                    continue;
                }
            }
            if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
            if (code == '\r') {
                // CR LF, written as two escapes or an escape and a line feed, is one line break.
                if (!(i + 1 < text.size() && text[i + 1] == '\n') &&
                    !(i + 7 < text.size() && text.substr(i + 1, 7) == "_x000A_"))
                    out += '\n';
                continue;
            }
            AppendUtf8(out, code);
            continue;
        }
        if (c == '\r') {
            if (!(i + 1 < text.size() && text[i + 1] == '\n')) out += '\n';
            continue;
        }
        out += c;
    }
}

void CellLimits::Count(const std::string& sheet, std::uint32_t row, std::uint32_t column, std::size_t bytes)
{
    textBytes += bytes;
    if (textBytes > MaxTextBytes)
        throw WorkbookError("シートのセルの文字が合わせて " + std::to_string(MaxTextBytes >> 20) +
                                " MB を超えるため、読むのをやめました",
                            CellReference(sheet, row, column));
    if (++textCells > MaxTextCells)
        throw WorkbookError(
            "文字や値の入ったセルが " + std::to_string(MaxTextCells) + " 個を超えるため、読むのをやめました",
            CellReference(sheet, row, column));
}

void ThrowNoSuchSheet(const SheetChoice& sheet, const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : "、") + name;
    if (names.empty()) throw WorkbookError("ブックにシートがありません");
    if (!sheet.name.empty())
        throw WorkbookError("シート「" + sheet.name + "」はありません（このブックのシート: " + list + "）");
    throw WorkbookError("シートは " + std::to_string(names.size()) +
                        " 枚しかありません（このブックのシート: " + list + "）");
}

void ThrowBeyondSheet(const std::string& sheet, std::uint64_t row, std::uint64_t column)
{
    throw WorkbookError(
        "セルの位置が表計算の上限（" + std::to_string(MaxRows) + " 行、" + std::to_string(MaxColumns) +
            " 列）を超えています",
        CellReference(sheet, static_cast<std::uint32_t>(std::min<std::uint64_t>(row, UINT32_MAX)),
                      static_cast<std::uint32_t>(std::min<std::uint64_t>(column, MaxColumns))));
}

void ThrowCellTooLong(const std::string& sheet, std::uint32_t row, std::uint32_t column)
{
    throw WorkbookError("セルの文字が " + std::to_string(MaxCellBytes >> 20) + " MB を超えています",
                        CellReference(sheet, row, column));
}

}  // namespace workbook

}  // namespace mirvel::convert
