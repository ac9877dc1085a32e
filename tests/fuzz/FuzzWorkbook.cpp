// The workbook reader's XML on arbitrary input: the first byte chooses the format (an .xlsx
// sheet, its shared strings and its styles, separated by NUL bytes, or an .ods content), the
// next one where each part is cut in two, as inflated chunks arrive. Whatever the input,
// only WorkbookError comes out; rows come in order within the sheet's bounds, with cells left to
// right, each with text or a problem, and a cut anywhere reads the same rows as the whole.
#include "tests/fuzz/FuzzScratch.h"

#include "common/Utf8Text.h"
#include "convert/WorkbookParts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace mirvel::convert;
using namespace mirvel::convert::workbook;

PartSource Cut(std::string_view xml, std::size_t at)
{
    return [xml, at](const ChunkSink& onChunk) {
        const std::size_t cut = at < xml.size() ? at : xml.size();
        onChunk(xml.substr(0, cut));
        onChunk(xml.substr(cut));
    };
}

// The rows as one string, checking each on the way.
std::string Read(int part, std::string_view xml, std::size_t cut)
{
    std::string out;
    std::uint32_t lastRow = 0;
    const RowHandler onRow = [&](const WorkbookRow& row) {
        if (part != 0) FUZZ_CHECK(row.number > lastRow);  // .ods rows only go down
        FUZZ_CHECK(row.number >= 1 && row.number <= MaxRows && !row.cells.empty());
        lastRow = row.number;
        std::uint32_t lastColumn = 0;
        for (const WorkbookCell& cell : row.cells) {
            FUZZ_CHECK(cell.column >= 1 && cell.column <= MaxColumns);
            if (part != 0) FUZZ_CHECK(cell.column > lastColumn);
            lastColumn = cell.column;
            FUZZ_CHECK(!cell.text.empty() || cell.problem != CellProblem::None);
            FUZZ_CHECK(cell.text.size() <= MaxCellBytes + 64);
            FUZZ_CHECK(cell.problem == CellProblem::None || !CellProblemText(cell).empty());
            out += std::to_string(row.number) + ":" + std::to_string(cell.column) + ":" +
                   std::to_string(static_cast<int>(cell.problem)) + ":" + cell.text + "\n";
        }
    };
    try {
        if (part == 0) {
            std::string_view pieces[3];
            std::string_view rest = xml;
            for (std::string_view& piece : pieces) {
                const std::size_t end = rest.find('\0');
                piece = rest.substr(0, end);
                rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            }
            const SharedStrings strings =
                pieces[1].empty() ? SharedStrings{} : ReadSharedStrings(Cut(pieces[1], cut));
            const std::vector<NumberLook> styles =
                pieces[2].empty() ? std::vector<NumberLook>{} : ReadCellStyles(Cut(pieces[2], cut));
            ReadXlsxSheet(Cut(pieces[0], cut), strings, styles, "Sheet1", onRow);
        } else {
            ReadOdsContent(Cut(xml, cut), {}, onRow);
        }
    } catch (const WorkbookError& error) {
        FUZZ_CHECK(mirvel::IsValidUtf8(error.what()));
        out += "error\n";  // where expat notices broken XML may depend on the cut
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int part = data[0] & 1;
    const std::size_t cut = data[1];
    const std::string_view xml(reinterpret_cast<const char*>(data) + 2, size - 2);
    FUZZ_CHECK(Read(part, xml, cut) == Read(part, xml, xml.size()));
    return 0;
}
