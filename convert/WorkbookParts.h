#pragma once

// The workbook reader's inside: the zip archive (minizip) with its inflation limits, the XML
// parser (expat) without document types, and each format's parts read from their inflated XML,
// which is also what the fuzz target feeds.

#include "convert/Workbook.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert::workbook {

// Hands a part's XML to `onChunk`, a piece at a time.
using ChunkSink = std::function<void(std::string_view)>;
using PartSource = std::function<void(const ChunkSink&)>;

inline PartSource WholeText(std::string_view xml)
{
    return [xml](const ChunkSink& onChunk) { onChunk(xml); };
}

// An archive read from memory. Every entry is inflated a piece at a time and stopped at
// MaxPartBytes or at MaxInflateRatio times its packed size, whatever its header declares.
class ZipArchive {
public:
    explicit ZipArchive(std::string_view bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool Has(const std::string& name);  // names compare without regard to case, as OPC's do
    void Read(const std::string& name, const ChunkSink& onChunk);
    std::string ReadAll(const std::string& name);
    PartSource Part(const std::string& name)
    {
        return [this, name](const ChunkSink& onChunk) { Read(name, onChunk); };
    }

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The XML of one part, as events. Names are the local names; `space` is the namespace URI.
struct XmlAttribute {
    std::string_view space, name, value;
};
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void Start(std::string_view space, std::string_view name,
                       const std::vector<XmlAttribute>& attributes) = 0;
    virtual void End(std::string_view space, std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
};
// Throws WorkbookError naming `part` when the XML is not well-formed or has a document type
// declaration; an exception from the handler stops the parse and comes out as it was thrown.
void ParseXml(const std::string& part, const PartSource& source, XmlHandler& handler);

std::optional<std::string_view> FindAttribute(const std::vector<XmlAttribute>& attributes,
                                              std::string_view name);

// A number as a spreadsheet's general format shows it: at most 15 significant digits, no
// trailing zeros or ".0", an exponent only where the number needs one. Nothing for text that
// isn't a number.
std::optional<std::string> PlainNumber(std::string_view written);

// Office Open XML's escapes for characters XML can't hold ("_x000D_"), and CR LF or a lone CR
// as LF.
void AppendCellText(std::string& out, std::string_view text);

// At most `bytes` bytes of `text`, cut before a character rather than inside one: for the
// file's own text quoted in a message.
std::string Quoted(std::string_view text, std::size_t bytes);

// .xlsx parts.
struct SharedStrings {
    std::string text;                   // every string, back to back
    std::vector<std::uint32_t> starts;  // where each begins; one more at the end
    std::size_t Count() const { return starts.empty() ? 0 : starts.size() - 1; }
    std::string_view At(std::size_t i) const
    {
        return std::string_view(text).substr(starts[i], starts[i + 1] - starts[i]);
    }
};
SharedStrings ReadSharedStrings(const PartSource& xml);
enum class NumberLook { Plain, Date, Formatted };
// What each cell style (the cells' "s" attribute, from 0) does to a number.
std::vector<NumberLook> ReadCellStyles(const PartSource& xml);
void ReadXlsxSheet(const PartSource& xml, const SharedStrings& strings, const std::vector<NumberLook>& styles,
                   const std::string& sheetName, const RowHandler& onRow,
                   const std::string& part = "xl/worksheets/sheet1.xml");

std::string ReadXlsx(ZipArchive& zip, const SheetChoice& sheet, const RowHandler& onRow);

// .ods content: every sheet's name in order, and the chosen one's rows. Returns the chosen
// sheet's name; throws listing the names when there is no such sheet.
std::string ReadOdsContent(const PartSource& xml, const SheetChoice& sheet, const RowHandler& onRow);

// Shared by both formats.
// Cells handed out: a shared string or a repeat can make many cells of one text, so their number
// and their bytes together are bounded, whatever the XML's size.
struct CellLimits {
    std::size_t textCells = 0;
    std::uint64_t textBytes = 0;
    void Count(const std::string& sheet, std::uint32_t row, std::uint32_t column, std::size_t bytes);
};
[[noreturn]] void ThrowNoSuchSheet(const SheetChoice& sheet, const std::vector<std::string>& names);
[[noreturn]] void ThrowBeyondSheet(const std::string& sheet, std::uint64_t row, std::uint64_t column);
[[noreturn]] void ThrowCellTooLong(const std::string& sheet, std::uint32_t row, std::uint32_t column);

}  // namespace mirvel::convert::workbook
