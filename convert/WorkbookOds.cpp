// OpenDocument spreadsheets: every sheet is in content.xml, one table after the other; rows and
// cells may stand for many through their repeat counts, which LibreOffice writes down to the
// sheet's last row and column. An empty repeat only moves the position; a repeat with text is
// handed out as the rows it stands for, within the sheet's bounds.
#include "convert/WorkbookParts.h"

#include <algorithm>

namespace mirvel::convert::workbook {

namespace {

struct StopReading {};  // the chosen sheet is read: the rest of the file isn't needed

std::uint64_t Count(std::optional<std::string_view> text)
{
    if (!text || text->empty()) return 1;
    std::uint64_t n = 0;
    for (const char c : *text) {
        if (c < '0' || c > '9') return 1;
        n = std::min<std::uint64_t>(n * 10 + static_cast<std::uint64_t>(c - '0'), std::uint64_t(1) << 40);
    }
    return std::max<std::uint64_t>(n, 1);
}

bool IsCalcExtension(std::string_view space) { return space.find(":calcext:") != std::string_view::npos; }
bool IsDrawing(std::string_view space) { return space.find(":drawing:") != std::string_view::npos; }

class ContentReader : public XmlHandler {
public:
    ContentReader(const SheetChoice& choice, const RowHandler& onRow) : choice_(choice), onRow_(onRow) {}

    std::vector<std::string> names;
    std::string chosen;

    void Start(std::string_view space, std::string_view name,
               const std::vector<XmlAttribute>& attributes) override
    {
        if (name == "table" && space.find(":table:") != std::string_view::npos) {
            if (++tableDepth_ == 1) {
                names.push_back(std::string(FindAttribute(attributes, "name").value_or("")));
                reading_ = choice_.name.empty() ? names.size() == std::max<std::uint32_t>(choice_.number, 1)
                                                : names.back() == choice_.name;
                if (reading_) chosen = names.back();
                rowNumber_ = 1;
            }
            return;
        }
        if (!reading_ || tableDepth_ != 1) return;
        if (ignored_ > 0 || name == "annotation" || IsDrawing(space)) {
            ++ignored_;  // comments and pictures in a cell are not its text
            return;
        }
        if (name == "table-row") {
            inRow_ = true;
            rowRepeat_ = Count(FindAttribute(attributes, "number-rows-repeated"));
            column_ = 1;
            rowBytes_ = 0;
            row_.cells.clear();
        } else if (inRow_ && (name == "table-cell" || name == "covered-table-cell")) {
            StartCell(attributes);
        } else if (inCell_ && (name == "p" || name == "h")) {
            if (paragraphs_++ > 0) Append("\n");
            inParagraph_ = true;
            lastSpace_ = true;  // white space at a paragraph's start is not text
        } else if (inParagraph_ && name == "s") {
            const std::uint64_t spaces =
                std::min<std::uint64_t>(Count(FindAttribute(attributes, "c")), MaxCellBytes + 1);
            Append(std::string(static_cast<std::size_t>(spaces), ' '));
        } else if (inParagraph_ && name == "tab") {
            Append("\t");
        } else if (inParagraph_ && name == "line-break") {
            Append("\n");
        }
    }

    void End(std::string_view space, std::string_view name) override
    {
        if (name == "table" && space.find(":table:") != std::string_view::npos) {
            if (--tableDepth_ == 0 && reading_) throw StopReading{};
            return;
        }
        if (!reading_ || tableDepth_ != 1) return;
        if (ignored_ > 0) {
            --ignored_;
            return;
        }
        if (name == "table-row" && inRow_) {
            EndRow();
        } else if (inCell_ && (name == "table-cell" || name == "covered-table-cell")) {
            EndCell();
        } else if (name == "p" || name == "h") {
            inParagraph_ = false;
        }
    }

    // ODF's white space rule: spaces, tabs and line ends in the XML are one space together, and
    // none at a paragraph's start; the document's own spaces, tabs and breaks are elements.
    void Text(std::string_view text) override
    {
        if (!inParagraph_ || ignored_ > 0) return;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const bool space =
                i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r');
            if (i < text.size() && !space) continue;
            if (i > start) {
                Append(text.substr(start, i - start));
                lastSpace_ = false;
            }
            if (space && !lastSpace_) {
                Append(" ");
                lastSpace_ = true;
            }
            start = i + 1;
        }
    }

private:
    void Append(std::string_view text)
    {
        text_.append(text);
        lastSpace_ = false;
        if (text_.size() > MaxCellBytes)
            ThrowCellTooLong(chosen,
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(rowNumber_, UINT32_MAX)),
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(column_, UINT32_MAX)));
    }

    void StartCell(const std::vector<XmlAttribute>& attributes)
    {
        inCell_ = true;
        cellRepeat_ = Count(FindAttribute(attributes, "number-columns-repeated"));
        type_.clear();
        value_.clear();
        error_ = formula_ = false;
        for (const XmlAttribute& a : attributes) {
            if (a.name == "value-type" && IsCalcExtension(a.space))
                error_ = a.value == "error";
            else if (a.name == "value-type")
                type_ = a.value;
            else if (a.name == "value")
                value_ = a.value;
            else if (a.name == "formula")
                formula_ = true;
        }
        text_.clear();
        paragraphs_ = 0;
    }

    void EndCell()
    {
        inCell_ = inParagraph_ = false;
        WorkbookCell cell;
        if (error_) {
            cell.problem = CellProblem::Error;
        } else if (type_ == "float") {
            const auto number = PlainNumber(value_);
            if (!number)
                throw WorkbookError(
                    "数値のセルに数値でない「" + Quoted(value_, 40) + "」があります",
                    CellReference(
                        chosen, static_cast<std::uint32_t>(std::min<std::uint64_t>(rowNumber_, MaxRows + 1)),
                        static_cast<std::uint32_t>(std::min<std::uint64_t>(column_, MaxColumns + 1))));
            text_ = *number;
        } else if (type_ == "percentage" || type_ == "currency") {
            cell.problem = CellProblem::FormattedNumber;
        } else if (type_ == "date" || type_ == "time") {
            cell.problem = CellProblem::Date;
        } else if (type_ == "boolean") {
            cell.problem = CellProblem::Boolean;
        } else if (type_.empty() && formula_) {
            cell.problem = CellProblem::NoCachedValue;
        }
        if (!text_.empty() || cell.problem != CellProblem::None) {
            cell.text = std::move(text_);
            for (std::uint64_t i = 0; i < cellRepeat_; ++i) {
                if (column_ + i > MaxColumns) ThrowBeyondSheet(chosen, rowNumber_, column_ + i);
                cell.column = static_cast<std::uint32_t>(column_ + i);
                // The row's cells are counted when it is handed out; its copies are bounded here.
                rowBytes_ += cell.text.size();
                if (rowBytes_ > MaxTextBytes)
                    CellLimits{}.Count(
                        chosen, static_cast<std::uint32_t>(std::min<std::uint64_t>(rowNumber_, MaxRows)),
                        cell.column, rowBytes_);
                row_.cells.push_back(cell);
            }
        }
        column_ += cellRepeat_;
        text_.clear();
    }

    void EndRow()
    {
        inRow_ = false;
        if (!row_.cells.empty()) {
            for (std::uint64_t i = 0; i < rowRepeat_; ++i) {
                if (rowNumber_ + i > MaxRows)
                    ThrowBeyondSheet(chosen, rowNumber_ + i, row_.cells.front().column);
                row_.number = static_cast<std::uint32_t>(rowNumber_ + i);
                for (const WorkbookCell& cell : row_.cells)
                    limits_.Count(chosen, row_.number, cell.column, cell.text.size());
                onRow_(row_);
            }
        }
        rowNumber_ += rowRepeat_;
    }

    const SheetChoice& choice_;
    const RowHandler& onRow_;
    CellLimits limits_;
    int tableDepth_ = 0, ignored_ = 0;
    bool reading_ = false, inRow_ = false, inCell_ = false, inParagraph_ = false, lastSpace_ = false;
    bool error_ = false, formula_ = false;
    std::uint64_t rowNumber_ = 1, rowRepeat_ = 1, column_ = 1, cellRepeat_ = 1, rowBytes_ = 0;
    std::size_t paragraphs_ = 0;
    std::string type_, value_, text_;
    WorkbookRow row_;
};

}  // namespace

std::string ReadOdsContent(const PartSource& xml, const SheetChoice& sheet, const RowHandler& onRow)
{
    ContentReader reader(sheet, onRow);
    try {
        ParseXml("content.xml", xml, reader);
    } catch (const StopReading&) {
        return reader.chosen;
    }
    ThrowNoSuchSheet(sheet, reader.names);
}

}  // namespace mirvel::convert::workbook
