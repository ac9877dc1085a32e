#include "Export.h"

#include "CharEncoder.h"
#include "FieldText.h"
#include "Utf8.h"

namespace mirvel::convert {
namespace {

bool IsTsvSeparator(char32_t c) { return c == '\t' || c == '"' || c == '\r' || c == '\n'; }

bool NeedsCsvQuotes(const std::string& text) { return text.find_first_of(",\"\r\n") != std::string::npos; }

class Exporter {
public:
    explicit Exporter(const ExportOptions& options) : options_(options) {}

    ExportResult Run(const WordList& words)
    {
        if (options_.bom && options_.encoding == TextEncoding::Utf8) result_.bytes = "\xEF\xBB\xBF";
        result_.bytes.reserve(result_.bytes.size() + words.size() * 48);
        for (std::size_t i = 0; i < words.size(); ++i) {
            record_ = static_cast<std::int64_t>(i) + 1;
            AppendField(Side::Francais, words[i].Francais[0], words[i].FrancaisBytes());
            result_.bytes += options_.csv ? ',' : '\t';
            AppendField(Side::Japonais, words[i].Japonais[0], words[i].JaponaisBytes());
            result_.bytes += "\r\n";
        }
        if (result_.refusals > 0) result_.bytes.clear();
        return std::move(result_);
    }

private:
    void AppendField(Side side, unsigned char length, std::string_view bytes)
    {
        FieldText field = DecodeField(side, bytes);
        if (length > CapacityOf(side))
            Add(ExportIssue::LengthAboveCapacity, side, field.text).length = length;
        for (UndecodableBytes& undecodable : field.undecodable) {
            ExportIssue& issue = Add(ExportIssue::Undecodable, side, field.text);
            issue.byteIndex = undecodable.index;
            issue.bytes = std::move(undecodable.bytes);
        }
        if (!field.undecodable.empty()) return;

        if (!options_.csv) {
            for (std::size_t at = 0; at < field.text.size();) {
                const char32_t c = NextChar(field.text, at);
                if (!IsTsvSeparator(c)) continue;
                Add(ExportIssue::TsvSeparator, side, field.text).character = c;
                return;
            }
        }
        std::string text = field.text;
        if (options_.csv && NeedsCsvQuotes(text)) {
            text = "\"";
            for (const char c : field.text) {
                if (c == '"') text += '"';
                text += c;
            }
            text += '"';
        }
        if (options_.encoding == TextEncoding::Utf8) {
            result_.bytes += text;
            return;
        }
        // The first character the encoding lacks is enough to find the record.
        CharEncoder& encoder = options_.encoding == TextEncoding::Cp932 ? cp932_ : cp1252_;
        for (std::size_t at = 0; at < text.size();) {
            const char32_t c = NextChar(text, at);
            if (encoder.Append(c, result_.bytes)) continue;
            Add(ExportIssue::NotInEncoding, side, field.text).character = c;
            return;
        }
    }

    ExportIssue& Add(ExportIssue::Kind kind, Side side, const std::string& text)
    {
        ExportIssue& issue = result_.issues.emplace_back();
        issue.kind = kind;
        issue.record = record_;
        issue.side = side;
        issue.text = text;
        if (issue.IsRefusal()) ++result_.refusals;
        return issue;
    }

    const ExportOptions& options_;
    CharEncoder cp932_{CodePage::ShiftJis};
    CharEncoder cp1252_{CodePage::Windows1252};
    std::int64_t record_ = 0;
    ExportResult result_;
};

}  // namespace

ExportResult ExportWords(const WordList& words, const ExportOptions& options)
{
    return Exporter(options).Run(words);
}

}  // namespace mirvel::convert
