#include "convert/Sheet.h"

#include <algorithm>

namespace mirvel::convert {
namespace {

// The CSV with its empty cells: a sheet's text is bounded by the reader, but a cell far to the
// right on every row would make the commas before it many times more.
constexpr std::size_t MaxCsvBytes = 2 * MaxTextBytes;

// Returns the line ends the field holds, counted as RowReader counts them (LF, CR LF, a lone CR).
std::int64_t AppendField(std::string& csv, std::string_view text)
{
    if (text.find_first_of(",\"\n\r") == std::string_view::npos && (text.empty() || text.front() != '#')) {
        csv += text;
        return 0;
    }
    std::int64_t lineEnds = 0;
    csv += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') csv += '"';
        if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lineEnds;
        csv += c;
    }
    csv += '"';
    return lineEnds;
}

}  // namespace

SheetText::SheetText(const std::string& path, const SheetChoice& choice)
{
    std::uint32_t firstWidth = 0;
    name_ = ReadWorkbookFile(path, choice, [&](const WorkbookRow& row) {
        Add(row);
        if (rows_.size() == 1) firstWidth = width_;
    });
    // The first row as wide as the sheet, so that --columns knows every column there is and a
    // header row names them all.
    if (firstWidth < width_) {
        const std::size_t end = rows_.size() > 1 ? rows_[1].begin - 1 : csv_.size() - 1;
        csv_.insert(end, width_ - firstWidth, ',');
        for (std::size_t i = 1; i < rows_.size(); ++i) rows_[i].begin += width_ - firstWidth;
    }
}

void SheetText::Add(const WorkbookRow& row)
{
    // A row or cell written twice or out of order has no one place in the text.
    const auto outOfOrder = [&](std::uint32_t column) {
        throw WorkbookError("シートのセル " + ColumnName(column) + std::to_string(row.number) +
                            " が、並びの順序どおりに書かれていません（ブックが壊れています）");
    };
    if (!rows_.empty() && row.number <= rows_.back().number) outOfOrder(row.cells.front().column);
    rows_.push_back({csv_.size(), ++lines_, row.number});
    std::uint32_t column = 1;
    for (const WorkbookCell& cell : row.cells) {
        if (cell.column < column || (cell.column == column && &cell != &row.cells.front()))
            outOfOrder(cell.column);
        csv_.append(cell.column - column, ',');
        column = cell.column;
        if (cell.problem != CellProblem::None) {
            csv_ += '\xFF';
            problems_.push_back({row.number, cell});
            continue;
        }
        lines_ += AppendField(csv_, cell.text);
    }
    csv_ += '\n';
    width_ = std::max(width_, column);
    if (csv_.size() > MaxCsvBytes)
        throw WorkbookError("シートが空のセルを含めて " + std::to_string(MaxCsvBytes >> 20) +
                            " MB を超えるため、読むのをやめました（右の離れた列にセルがあるようです）");
}

const SheetText::RowStart& SheetText::RowOf(std::int64_t line) const
{
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), line,
                                        [](std::int64_t l, const RowStart& row) { return l < row.line; });
    return *(after == rows_.begin() ? after : after - 1);
}

// The field that holds the place: the last one starting at or before it.
std::uint32_t SheetText::ColumnAt(const RowStart& start, TextPosition at) const
{
    RowReader reader(csv_, InputCodec(TextEncoding::Utf8, ValidUtf8()), ',', Quoting::Csv);
    reader.Restart(start.begin, start.line);
    Row row;
    reader.Next(row);
    std::size_t low = 0, high = row.count;  // the field is in [low, high)
    while (high - low > 1) {
        const std::size_t middle = (low + high) / 2;
        const TextPosition begins = reader.Locate(row, row.fields[middle], 0);
        if (std::pair(begins.line, begins.column) <= std::pair(at.line, at.column))
            low = middle;
        else
            high = middle;
    }
    return static_cast<std::uint32_t>(low + 1);
}

std::string SheetText::CellAt(TextPosition at) const
{
    const RowStart& row = RowOf(at.line);
    return CellReference(name_, row.number, ColumnAt(row, at));
}

std::string SheetText::RowAt(std::int64_t line) const
{
    const std::uint32_t number = RowOf(line).number;
    const std::string sheet = SheetInReference(name_);
    const bool latin = static_cast<unsigned char>(sheet.back()) < 0x80;  // "Sheet1 の", "単語の"
    return sheet + (latin ? " の " : "の ") + std::to_string(number) + " 行目";
}

const WorkbookCell* SheetText::ProblemAt(TextPosition at) const
{
    const RowStart& row = RowOf(at.line);
    const std::pair place(row.number, ColumnAt(row, at));
    const auto found = std::lower_bound(problems_.begin(), problems_.end(), place,
                                        [](const Problem& problem, const auto& p) {
                                            return std::pair(problem.row, problem.cell.column) < p;
                                        });
    return found != problems_.end() && std::pair(found->row, found->cell.column) == place ? &found->cell
                                                                                          : nullptr;
}

}  // namespace mirvel::convert
