#pragma once

// Reading one sheet of a spreadsheet workbook, .xlsx (Office Open XML, as Excel, LibreOffice and
// openpyxl write it) or .ods (OpenDocument, LibreOffice's own), as rows of cell texts.
//
// A cell gives the text the spreadsheet shows where that is plain: text (shared and inline
// strings, rich-text runs joined, Excel's furigana left out, a line break inside a cell kept as
// LF), and numbers as written (integers without ".0", decimals to the 15 digits a spreadsheet
// shows). What a spreadsheet would show only through a format or a calculation is not guessed:
// a date or time, a true/false value, an error, a formula saved without its result and a number
// shown through a currency or percent format each make the cell a problem (`CellProblem`), which
// the caller reports with the cell's reference wherever it matters to it.
//
// Decisions:
// - Merged cells: a merged range's text is its top-left cell's, where Excel and LibreOffice keep
//   it; the cells the range covers are read for what they hold, which is nothing unless
//   LibreOffice was asked to keep their contents (the value is then read where it is, as the
//   program's own CSV export writes it). Nothing is repeated into covered cells.
// - Hidden rows, columns and sheets are read like visible ones, as a CSV export writes them: a
//   row hidden or filtered away is still the user's data, and leaving it out silently would lose
//   words. The default sheet is the first in the workbook's order, hidden or not.
// - Rows with no text at all are not handed out (their number is in the next row's); trailing
//   repeats of empty rows and cells, which LibreOffice writes down to the sheet's last row, cost
//   nothing.
//
// Hostile files are refused with a WorkbookError before they cost much: the file and every part
// inflated from it are bounded (`MaxWorkbookBytes`, `MaxPartBytes`, `MaxInflateRatio`), the XML
// may hold no document type declaration (so no entity can expand or reach outside), and a sheet
// holds at most `MaxRows` rows, `MaxColumns` columns and `MaxTextCells` cells with text, of at
// most `MaxTextBytes` together (a shared string or a repeat makes many cells of one text).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvel::convert {

inline constexpr std::size_t MaxWorkbookBytes = 256u << 20;  // the file itself
inline constexpr std::size_t MaxPartBytes = 256u << 20;      // any one part once inflated
inline constexpr std::uint64_t MaxInflateRatio = 1000;       // inflated bytes per packed byte
inline constexpr std::uint32_t MaxRows = 1048576;            // Excel's and LibreOffice's sheets
inline constexpr std::uint32_t MaxColumns = 16384;
inline constexpr std::size_t MaxTextCells = 10'000'000;
inline constexpr std::uint64_t MaxTextBytes = 256u << 20;  // the text of all cells handed out
inline constexpr std::size_t MaxCellBytes = 1u << 20;      // Excel holds 32,767 characters in a cell

// Which sheet: by name, or by number from 1 in the workbook's order; neither: the first.
struct SheetChoice {
    std::string name;
    std::uint32_t number = 0;
};

enum class CellProblem {
    None,
    Date,             // a date or a time
    Boolean,          // TRUE or FALSE
    Error,            // an error value such as #DIV/0! (`text` holds it)
    NoCachedValue,    // a formula saved without its result
    FormattedNumber,  // a number shown through a currency, percent or other non-plain format
};

struct WorkbookCell {
    std::uint32_t column = 0;  // from 1
    std::string text;          // the cell's text; for a problem, what the file holds, if anything
    CellProblem problem = CellProblem::None;
};

struct WorkbookRow {
    std::uint32_t number = 0;         // from 1
    std::vector<WorkbookCell> cells;  // left to right, only cells with text or a problem
};

using RowHandler = std::function<void(const WorkbookRow&)>;

// A workbook that can't be read: the message is the user's, in Japanese; `reference` names the
// cell at fault where there is one ("Sheet1!B7").
class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const std::string& message, std::string cell = {})
        : std::runtime_error(message), reference(std::move(cell))
    {
    }
    std::string reference;
};

// The workbook's bytes: finds its kind from its content (an .xlsx that is really a CSV is
// named as such), chooses the sheet, and hands `onRow` each row of that sheet holding a cell
// with text or a problem, in order. Returns the sheet's name, for the cell references.
std::string ReadWorkbook(std::string_view bytes, const SheetChoice& sheet, const RowHandler& onRow);
// The same from a file (read whole: a workbook is packed; its size is bounded first).
std::string ReadWorkbookFile(const std::string& path, const SheetChoice& sheet, const RowHandler& onRow);

// The names a workbook file's extension gives it (.xlsx, .xlsm, .ods, in any case).
bool IsWorkbookName(std::string_view path);

// A sheet's name as a reference shows it: quoted where Excel would quote it.
std::string SheetInReference(std::string_view sheet);
// "Sheet1!B7"; a sheet name that Excel would quote is quoted ('My words'!B7).
std::string CellReference(std::string_view sheet, std::uint32_t row, std::uint32_t column);
// "B" for 2, "AA" for 27.
std::string ColumnName(std::uint32_t column);

// Why a cell is a problem, in Japanese, without the reference.
std::string CellProblemText(const WorkbookCell& cell);

}  // namespace mirvel::convert
