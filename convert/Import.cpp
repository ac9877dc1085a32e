#include "Import.h"

#include "CharEncoder.h"
#include "Delimited.h"
#include "InOutError.h"
#include "LargeBuffer.h"
#include "Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace mirvel::convert {
namespace {

std::size_t LineFeedCount(std::string_view text)
{
    std::size_t count = 0;
    if (text.empty()) return count;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at)
        ++count;
    return count;
}

class Importer {
public:
    Importer(std::string_view text, const ImportOptions& options)
        : options_(options), reader_(text, options.csv ? ',' : '\t', options.csv)
    {
        // One record a line at most: the list is allocated once.
        result_.words.reserve(LineFeedCount(text) + 1);
        PreferHugePages(result_.words.data(), result_.words.capacity() * sizeof(TWordRec));
    }

    ImportResult Run()
    {
        while (reader_.Next(row_)) ReadRow();
        return std::move(result_);
    }

private:
    void ReadRow()
    {
        rowIssues_.clear();
        if (row_.fault != SyntaxFault::None) {
            const auto kind = row_.fault == SyntaxFault::UnclosedQuote ? ImportIssue::UnclosedQuote
                                                                       : ImportIssue::TextAfterQuote;
            Add(kind, Advance(reader_.Text(), row_.start, row_.faultOffset));
        }
        if (row_.count < 2) {
            Add(ImportIssue::MissingJaponais, Advance(reader_.Text(), row_.start, row_.end));
        }
        for (std::size_t i = 2; i < row_.count; ++i) {
            if (row_.fields[i].value.empty()) continue;
            Add(ImportIssue::ExtraField, reader_.Locate(row_, row_.fields[i], 0)).text = row_.fields[i].value;
            break;
        }
        if (row_.count >= 1) EncodeSide(Side::Francais, row_.fields[0], francais_);
        if (row_.count >= 2) EncodeSide(Side::Japonais, row_.fields[1], japonais_);

        std::stable_sort(
            rowIssues_.begin(), rowIssues_.end(),
            [](const ImportIssue& a, const ImportIssue& b) { return a.at.offset < b.at.offset; });
        bool problem = false;
        for (const ImportIssue& issue : rowIssues_) problem = problem || issue.IsProblem();
        if (problem) {
            for (ImportIssue& issue : rowIssues_) {
                if (!issue.IsProblem()) continue;  // a cut in a skipped line never happened
                ++result_.problems;
                result_.issues.push_back(std::move(issue));
            }
            if (options_.skip) {
                ImportIssue skipped;
                skipped.kind = ImportIssue::Skipped;
                skipped.at = row_.start;
                skipped.lastLine = row_.lastLine;
                result_.issues.push_back(std::move(skipped));
                ++result_.skippedRows;
            }
            return;
        }
        for (ImportIssue& issue : rowIssues_) {
            ++result_.cutFields;
            result_.issues.push_back(std::move(issue));
        }
        if (result_.words.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            throw MessageError("ファイルが大きすぎます");
        TWordRec& record = result_.words.emplace_back();  // zero-filled
        record.SetFrancais(francais_.Bytes());
        record.SetJaponais(japonais_.Bytes());
    }

    // Every character is checked before the length, so that a cut is only ever made in a field
    // that is otherwise good.
    void EncodeSide(Side side, const DelimitedField& field, EncodedField& encoded)
    {
        CharEncoder& encoder = side == Side::Francais ? francaisEncoder_ : japonaisEncoder_;
        const std::size_t limit = EditorLimitOf(side);
        EncodeField(encoder, field.value, limit, encoded);
        for (const auto& [offset, c] : encoded.unmapped) {
            const bool escape = IsEscape(c);
            ImportIssue& issue = Add(escape ? ImportIssue::UndecodableByte : ImportIssue::NotInCodePage,
                                     reader_.Locate(row_, field, offset));
            issue.side = side;
            if (escape)
                issue.byte = EscapedByte(c);
            else
                issue.character = c;
        }
        if (!encoded.unmapped.empty() || encoded.length <= limit) return;

        ImportIssue& issue =
            Add(options_.cut ? ImportIssue::Cut : ImportIssue::TooLong, reader_.Locate(row_, field, 0));
        issue.side = side;
        issue.bytes = encoded.length;
        issue.limit = limit;
        issue.text = field.value;
        if (options_.cut) {
            issue.kept = field.value.substr(0, encoded.fitTextLength);
            encoded.length = encoded.fitBytes;
        }
    }

    ImportIssue& Add(ImportIssue::Kind kind, TextPosition at)
    {
        ImportIssue& issue = rowIssues_.emplace_back();
        issue.kind = kind;
        issue.at = at;
        return issue;
    }

    const ImportOptions& options_;
    DelimitedReader reader_;
    DelimitedRow row_;
    CharEncoder francaisEncoder_{CodePage::Windows1252};
    CharEncoder japonaisEncoder_{CodePage::ShiftJis};
    EncodedField francais_;
    EncodedField japonais_;
    std::vector<ImportIssue> rowIssues_;
    ImportResult result_;
};

}  // namespace

ImportResult ImportText(std::string_view text, const ImportOptions& options)
{
    return Importer(text, options).Run();
}

}  // namespace mirvel::convert
