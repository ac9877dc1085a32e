#pragma once

// A workbook's sheet as the text import reads it: its rows become an in-memory UTF-8 CSV, so
// that the header row, the columns, the byte budgets, --skip and --cut and every message are the
// text import's, with the places translated back into cells.
//
// Each row of the sheet that holds something is one CSV row, every cell at its column's field
// (field i is column i + 1), quoted where a comma, quote or line break needs it and where it
// starts with '#', which a cell means as text and never as a comment or an Anki header. Rows
// with nothing in them are left out, as blank lines are: they are no pairs. A cell whose value
// isn't plain text (a date, an error: `CellProblem`) stands in the CSV as the one byte 0xFF,
// which no UTF-8 holds: the import then meets it only where it reads words, as a byte that
// doesn't decode at that cell, and refuses the row or skips it with --skip as it does any other
// problem; its message names the cell's problem instead. In a column that holds no words it is
// never read.

#include "convert/Rows.h"
#include "convert/Workbook.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

class SheetText {
public:
    // Reads the sheet; throws WorkbookError, and InOutError for the file.
    SheetText(const std::string& path, const SheetChoice& choice);

    const std::string& Name() const { return name_; }
    std::string_view Csv() const { return csv_; }
    bool ValidUtf8() const { return problems_.empty(); }
    bool Empty() const { return rows_.empty(); }

    // The cell at a place of the CSV ("単語!B7"), and the row a line of it belongs to ("単語の 7
    // 行目", "Sheet1 の 7 行目").
    std::string CellAt(TextPosition at) const;
    std::string RowAt(std::int64_t line) const;
    // The cell that isn't plain text at a place of the CSV, if it is one.
    const WorkbookCell* ProblemAt(TextPosition at) const;

private:
    struct RowStart {
        std::size_t begin;  // in the CSV
        std::int64_t line;
        std::uint32_t number;  // in the sheet
    };
    struct Problem {
        std::uint32_t row;
        WorkbookCell cell;
    };
    void Add(const WorkbookRow& row);
    const RowStart& RowOf(std::int64_t line) const;
    std::uint32_t ColumnAt(const RowStart& row, TextPosition at) const;

    std::string name_;
    std::string csv_;
    std::int64_t lines_ = 0;
    std::uint32_t width_ = 0;  // the widest row's last column
    std::vector<RowStart> rows_;
    std::vector<Problem> problems_;  // in sheet order
};

}  // namespace mirvel::convert
