// Office Open XML workbooks: the package's relationships lead from the workbook to its sheets,
// the shared strings and the styles; a sheet's cells are read in one pass over its XML.
#include "convert/WorkbookParts.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace mirvel::convert::workbook {

namespace {

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// A decimal number from its attribute; nothing for anything else or more than fits.
std::optional<std::uint64_t> Decimal(std::string_view text)
{
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

struct Relationship {
    std::string type, target;
};

class RelationshipsReader : public XmlHandler {
public:
    std::map<std::string, Relationship> byId;
    void Start(std::string_view, std::string_view name, const std::vector<XmlAttribute>& attributes) override
    {
        if (name != "Relationship") return;
        const auto id = FindAttribute(attributes, "Id");
        const auto type = FindAttribute(attributes, "Type");
        const auto target = FindAttribute(attributes, "Target");
        if (id && type && target) byId[std::string(*id)] = {std::string(*type), std::string(*target)};
    }
    void End(std::string_view, std::string_view) override {}
    void Text(std::string_view) override {}
};

struct SheetEntry {
    std::string name, relationship;
};

class WorkbookPartReader : public XmlHandler {
public:
    std::vector<SheetEntry> sheets;
    void Start(std::string_view, std::string_view name, const std::vector<XmlAttribute>& attributes) override
    {
        if (name != "sheet") return;
        SheetEntry entry;
        for (const XmlAttribute& a : attributes) {
            if (a.name == "name") entry.name = a.value;
            // r:id, in the relationships namespace (transitional or strict).
            if (a.name == "id" && a.space.find("relationships") != std::string_view::npos)
                entry.relationship = a.value;
        }
        sheets.push_back(entry);
    }
    void End(std::string_view, std::string_view) override {}
    void Text(std::string_view) override {}
};

// A part's name from a relationship's target, which is relative to the part that holds the
// relationship ("worksheets/sheet1.xml" from "xl/workbook.xml") or absolute ("/xl/...").
std::string ResolveTarget(const std::string& from, const std::string& target)
{
    std::vector<std::string> parts;
    std::string path = target;
    if (!path.empty() && path.front() == '/') {
        path.erase(0, 1);
    } else {
        const std::size_t slash = from.rfind('/');
        if (slash != std::string::npos) path = from.substr(0, slash + 1) + path;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string piece = path.substr(start, end - start);
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& piece : parts) resolved += (resolved.empty() ? "" : "/") + piece;
    return resolved;
}

std::string RelationshipsPart(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

std::map<std::string, Relationship> ReadRelationships(ZipArchive& zip, const std::string& part)
{
    RelationshipsReader reader;
    ParseXml(part, zip.Part(part), reader);
    return reader.byId;
}

class SharedStringsReader : public XmlHandler {
public:
    SharedStrings strings;
    void Start(std::string_view, std::string_view name, const std::vector<XmlAttribute>&) override
    {
        if (name == "si") {
            inItem_ = true;
            strings.starts.push_back(static_cast<std::uint32_t>(strings.text.size()));
        } else if (name == "rPh") {
            ++inPhonetic_;  // furigana Excel keeps beside Japanese text: not part of the text
        } else if (name == "t" && inItem_ && inPhonetic_ == 0) {
            inText_ = true;
        }
    }
    void End(std::string_view, std::string_view name) override
    {
        if (name == "si") {
            // Decoded whole: expat may hand an escape or a CR LF over in pieces.
            AppendCellText(strings.text, item_);
            item_.clear();
            inItem_ = false;
        } else if (name == "rPh") {
            if (inPhonetic_ > 0) --inPhonetic_;
        } else if (name == "t") {
            inText_ = false;
        }
    }
    void Text(std::string_view text) override
    {
        if (!inText_) return;
        item_.append(text);
        if (item_.size() > MaxCellBytes)
            throw WorkbookError("共有文字列 " + std::to_string(strings.starts.size() - 1) + " 番が " +
                                std::to_string(MaxCellBytes >> 20) + " MB を超えています");
    }

private:
    bool inItem_ = false, inText_ = false;
    int inPhonetic_ = 0;
    std::string item_;
};

// What a number format does to a number. Excel's built-in formats by number: 0 to 4 and 49
// (text) show the number as it is; 14 to 22, 27 to 36, 45 to 47 and 50 to 58 are dates and
// times (27 to 36 and 50 to 58 are the Japanese era and calendar forms); the rest are currency,
// percent, fractions and exponents.
NumberLook BuiltInLook(std::uint64_t id)
{
    if (id <= 4 || id == 49) return NumberLook::Plain;
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return NumberLook::Date;
    if (id < 164) return NumberLook::Formatted;
    return NumberLook::Plain;  // a number no format defines: Excel shows it as General
}

// A format code of the workbook's own: a date if it has a date or time part (outside quoted
// text and brackets, or an elapsed-time bracket such as [h]); plain if it only places digits
// ("0.00", "#,##0", "General"); formatted otherwise (percent, currency, text around the number).
NumberLook CodeLook(std::string_view code)
{
    std::string lower(code);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bool formatted = false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        if (lower.compare(i, 7, "general") == 0) {
            i += 6;
        } else if (c == '"') {
            const std::size_t close = lower.find('"', i + 1);
            if (close > i + 1) formatted = true;
            i = close == std::string::npos ? lower.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            if (c == '\\') formatted = true;
            ++i;  // the escaped, padding or fill character
        } else if (c == '[') {
            const std::size_t close = std::min(lower.find(']', i), lower.size());
            const std::string_view inside = std::string_view(lower).substr(i + 1, close - i - 1);
            if (!inside.empty() && inside.find_first_not_of("hms") == std::string_view::npos)
                return NumberLook::Date;
            if (inside.substr(0, 1) == "$" && inside.size() > 1 && inside[1] != '-')
                formatted = true;  // [$¥-411]
            i = close;
        } else if (c == 'e' && i + 1 < lower.size() && (lower[i + 1] == '+' || lower[i + 1] == '-')) {
            formatted = true;  // 0.00E+00
            ++i;
        } else if (std::string_view("ymdhsgeab").find(c) != std::string_view::npos) {
            return NumberLook::Date;  // year, month or minute, day, hour, second, era, AM/PM, Buddhist year
        } else if (std::string_view("0#?.,;- @").find(c) == std::string_view::npos) {
            formatted = true;
        }
    }
    return formatted ? NumberLook::Formatted : NumberLook::Plain;
}

class StylesReader : public XmlHandler {
public:
    std::vector<NumberLook> looks;
    void Start(std::string_view, std::string_view name, const std::vector<XmlAttribute>& attributes) override
    {
        if (name == "cellXfs") inCellFormats_ = true;
        if (name == "numFmt") {
            const auto id = FindAttribute(attributes, "numFmtId");
            const auto code = FindAttribute(attributes, "formatCode");
            if (id && code && Decimal(*id)) codes_[*Decimal(*id)] = CodeLook(*code);
        }
        if (name == "xf" && inCellFormats_) {
            const auto id = FindAttribute(attributes, "numFmtId");
            ids_.push_back(id && Decimal(*id) ? *Decimal(*id) : 0);
        }
    }
    void End(std::string_view, std::string_view name) override
    {
        if (name == "cellXfs") inCellFormats_ = false;
        if (name == "styleSheet")
            for (const std::uint64_t id : ids_) {
                const auto own = codes_.find(id);
                looks.push_back(own != codes_.end() ? own->second : BuiltInLook(id));
            }
    }
    void Text(std::string_view) override {}

private:
    bool inCellFormats_ = false;
    std::map<std::uint64_t, NumberLook> codes_;
    std::vector<std::uint64_t> ids_;
};

// "B7" as column 2, row 7; nothing when it isn't a reference.
bool ParseReference(std::string_view reference, std::uint64_t& row, std::uint64_t& column)
{
    std::size_t i = 0;
    column = 0;
    while (i < reference.size() && std::isupper(static_cast<unsigned char>(reference[i])) &&
           column <= MaxColumns)
        column = column * 26 + static_cast<std::uint64_t>(reference[i++] - 'A' + 1);
    const auto number = Decimal(reference.substr(i));
    if (i == 0 || !number) return false;
    row = *number;
    return row > 0;
}

class SheetReader : public XmlHandler {
public:
    SheetReader(const SharedStrings& strings, const std::vector<NumberLook>& styles, const std::string& sheet,
                const RowHandler& onRow)
        : strings_(strings), styles_(styles), sheet_(sheet), onRow_(onRow)
    {
    }

    void Start(std::string_view, std::string_view name, const std::vector<XmlAttribute>& attributes) override
    {
        if (name == "sheetData") {
            inData_ = true;
        } else if (!inData_) {
            return;
        } else if (name == "row") {
            const auto r = FindAttribute(attributes, "r");
            const auto number = r ? Decimal(*r) : std::nullopt;
            if (r && (!number || *number == 0))
                throw WorkbookError("シートの行番号「" + Quoted(*r, 20) + "」が壊れています");
            rowNumber_ = number ? *number : rowNumber_ + 1;
            nextColumn_ = 1;
            row_.cells.clear();
        } else if (name == "c") {
            inCell_ = true;
            type_ = FindAttribute(attributes, "t").value_or("n");
            const auto style = FindAttribute(attributes, "s");
            const auto styleNumber = style ? Decimal(*style) : std::nullopt;
            look_ = styleNumber && *styleNumber < styles_.size() ? styles_[*styleNumber] : NumberLook::Plain;
            cellRow_ = rowNumber_;
            cellColumn_ = nextColumn_;
            if (const auto r = FindAttribute(attributes, "r")) {
                if (!ParseReference(*r, cellRow_, cellColumn_))
                    throw WorkbookError("シートのセル番地「" + Quoted(*r, 20) + "」が壊れています");
            }
            nextColumn_ = cellColumn_ + 1;
            value_.clear();
            inline_.clear();
            hasValue_ = hasFormula_ = false;
        } else if (inCell_ && name == "v") {
            inValue_ = hasValue_ = true;
        } else if (inCell_ && name == "f") {
            hasFormula_ = true;
        } else if (inCell_ && name == "rPh") {
            ++inPhonetic_;
        } else if (inCell_ && name == "t" && inPhonetic_ == 0) {
            inInline_ = true;
        }
    }

    void End(std::string_view, std::string_view name) override
    {
        if (name == "sheetData") {
            inData_ = false;
        } else if (!inData_) {
            return;
        } else if (name == "row") {
            if (!row_.cells.empty()) {
                row_.number = static_cast<std::uint32_t>(rowNumber_);
                onRow_(row_);
                row_.cells.clear();
            }
        } else if (name == "c") {
            inCell_ = false;
            FinishCell();
        } else if (name == "v") {
            inValue_ = false;
        } else if (name == "rPh") {
            if (inPhonetic_ > 0) --inPhonetic_;
        } else if (name == "t") {
            inInline_ = false;
        }
    }

    void Text(std::string_view text) override
    {
        if (!inValue_ && !inInline_) return;
        std::string& into = inValue_ ? value_ : inline_;
        into.append(text);
        if (into.size() > MaxCellBytes)
            ThrowCellTooLong(sheet_,
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(cellRow_, UINT32_MAX)),
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(cellColumn_, UINT32_MAX)));
    }

private:
    void FinishCell()
    {
        // openpyxl writes a formula's missing result as an empty value.
        if (hasValue_ && value_.empty() && type_ != "s" && type_ != "inlineStr") hasValue_ = false;
        WorkbookCell cell;
        if (type_ == "s") {
            if (!hasValue_) return;
            const auto index = Decimal(value_);
            if (!index || *index >= strings_.Count())
                throw WorkbookError("共有文字列の番号「" + Quoted(value_, 20) + "」が、" +
                                        std::to_string(strings_.Count()) + " 個の共有文字列の中にありません",
                                    Reference());
            cell.text = strings_.At(*index);
        } else if (type_ == "inlineStr") {
            AppendCellText(cell.text, inline_);
        } else if (type_ == "str") {
            if (hasValue_)
                AppendCellText(cell.text, value_);
            else if (hasFormula_)
                cell.problem = CellProblem::NoCachedValue;
        } else if (type_ == "b") {
            if (!hasValue_ && !hasFormula_) return;
            cell.problem = hasValue_ ? CellProblem::Boolean : CellProblem::NoCachedValue;
            if (hasValue_) cell.text = value_ == "1" ? "TRUE" : "FALSE";
        } else if (type_ == "e") {
            cell.problem = CellProblem::Error;
            cell.text = value_;
        } else if (type_ == "d") {
            if (!hasValue_ && !hasFormula_) return;
            cell.problem = CellProblem::Date;
            cell.text = value_;
        } else {
            if (!hasValue_) {
                if (!hasFormula_) return;
                cell.problem = CellProblem::NoCachedValue;
            } else if (look_ == NumberLook::Date) {
                cell.problem = CellProblem::Date;
                cell.text = value_;
            } else {
                const auto number = PlainNumber(value_);
                if (!number)
                    throw WorkbookError("数値のセルに数値でない「" + Quoted(value_, 40) + "」があります",
                                        Reference());
                if (look_ == NumberLook::Formatted) cell.problem = CellProblem::FormattedNumber;
                cell.text = *number;
            }
        }
        if (cell.text.empty() && cell.problem == CellProblem::None) return;
        if (rowNumber_ > MaxRows || cellRow_ > MaxRows || cellColumn_ > MaxColumns)
            ThrowBeyondSheet(sheet_, std::max(rowNumber_, cellRow_), cellColumn_);
        cell.column = static_cast<std::uint32_t>(cellColumn_);
        limits_.Count(sheet_, static_cast<std::uint32_t>(cellRow_), cell.column, cell.text.size());
        row_.cells.push_back(std::move(cell));
    }

    std::string Reference() const
    {
        return CellReference(sheet_,
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(cellRow_, UINT32_MAX)),
                             static_cast<std::uint32_t>(std::min<std::uint64_t>(cellColumn_, UINT32_MAX)));
    }

    const SharedStrings& strings_;
    const std::vector<NumberLook>& styles_;
    const std::string& sheet_;
    const RowHandler& onRow_;
    CellLimits limits_;
    WorkbookRow row_;
    bool inData_ = false, inCell_ = false, inValue_ = false, inInline_ = false;
    int inPhonetic_ = 0;
    bool hasValue_ = false, hasFormula_ = false;
    std::uint64_t rowNumber_ = 0, nextColumn_ = 1, cellRow_ = 0, cellColumn_ = 0;
    std::string type_, value_, inline_;
    NumberLook look_ = NumberLook::Plain;
};

}  // namespace

SharedStrings ReadSharedStrings(const PartSource& xml)
{
    SharedStringsReader reader;
    ParseXml("xl/sharedStrings.xml", xml, reader);
    reader.strings.starts.push_back(static_cast<std::uint32_t>(reader.strings.text.size()));
    return std::move(reader.strings);
}

std::vector<NumberLook> ReadCellStyles(const PartSource& xml)
{
    StylesReader reader;
    ParseXml("xl/styles.xml", xml, reader);
    return std::move(reader.looks);
}

void ReadXlsxSheet(const PartSource& xml, const SharedStrings& strings, const std::vector<NumberLook>& styles,
                   const std::string& sheetName, const RowHandler& onRow, const std::string& part)
{
    SheetReader reader(strings, styles, sheetName, onRow);
    ParseXml(part, xml, reader);
}

std::string ReadXlsx(ZipArchive& zip, const SheetChoice& choice, const RowHandler& onRow)
{
    std::string workbookPart = "xl/workbook.xml";
    if (zip.Has("_rels/.rels"))
        for (const auto& [id, relationship] : ReadRelationships(zip, "_rels/.rels"))
            if (EndsWith(relationship.type, "/officeDocument"))
                workbookPart = ResolveTarget("", relationship.target);
    WorkbookPartReader workbook;
    ParseXml(workbookPart, zip.Part(workbookPart), workbook);
    const auto relationships = ReadRelationships(zip, RelationshipsPart(workbookPart));

    std::vector<std::string> names;
    for (const SheetEntry& sheet : workbook.sheets) names.push_back(sheet.name);
    const SheetEntry* chosen = nullptr;
    if (!choice.name.empty()) {
        for (const SheetEntry& sheet : workbook.sheets)
            if (sheet.name == choice.name) chosen = &sheet;
    } else {
        const std::size_t number = choice.number == 0 ? 1 : choice.number;
        if (number <= workbook.sheets.size()) chosen = &workbook.sheets[number - 1];
    }
    if (!chosen) ThrowNoSuchSheet(choice, names);
    const auto sheetRelationship = relationships.find(chosen->relationship);
    if (sheetRelationship == relationships.end())
        throw WorkbookError("シート「" + chosen->name +
                            "」の中身がブックにありません（ブックが壊れています）");
    if (!EndsWith(sheetRelationship->second.type, "/worksheet"))
        throw WorkbookError("シート「" + chosen->name + "」はグラフなどのシートで、セルがありません");

    SharedStrings strings;
    std::vector<NumberLook> styles;
    for (const auto& [id, relationship] : relationships) {
        const std::string part = ResolveTarget(workbookPart, relationship.target);
        if (EndsWith(relationship.type, "/sharedStrings")) strings = ReadSharedStrings(zip.Part(part));
        if (EndsWith(relationship.type, "/styles")) styles = ReadCellStyles(zip.Part(part));
    }
    const std::string sheetPart = ResolveTarget(workbookPart, sheetRelationship->second.target);
    ReadXlsxSheet(zip.Part(sheetPart), strings, styles, chosen->name, onRow, sheetPart);
    return chosen->name;
}

}  // namespace mirvel::convert::workbook
