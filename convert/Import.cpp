#include "convert/Import.h"

#include "convert/CharEncoder.h"
#include "convert/Delimited.h"
#include "convert/InputChunks.h"
#include "common/InOutError.h"
#include "convert/Utf8.h"

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

}  // namespace

class Importer {
public:
    Importer(const ImportOptions& options, std::size_t lines) : options_(options)
    {
        // One record a line at most: the list is allocated once.
        result_.words.reserve(lines + 1);
    }

    void Feed(std::string_view chunk, bool last)
    {
        std::string_view text = chunk;
        if (!carry_.empty()) {
            carry_.append(chunk);
            text = carry_;
        }
        DelimitedReader reader(text, options_.csv ? ',' : '\t', options_.csv);
        reader_ = &reader;
        while (reader.Next(row_)) {
            if (!last && row_.fault == SyntaxFault::UnclosedQuote) {
                // The closing quote may lie in the next chunk: the row is read again from there.
                lineBase_ += row_.start.line - 1;
                carry_ = std::string(text.substr(row_.start.offset));
                reader_ = nullptr;
                return;
            }
            ReadRow();
        }
        reader_ = nullptr;
        lineBase_ += static_cast<long>(LineBreakCount(text));
        carry_.clear();
    }

    ImportResult Finish() { return std::move(result_); }

private:
    void ReadRow()
    {
        rowIssues_.clear();
        if (row_.fault != SyntaxFault::None) {
            const auto kind = row_.fault == SyntaxFault::UnclosedQuote ? ImportIssue::UnclosedQuote
                                                                       : ImportIssue::TextAfterQuote;
            Add(kind, Advance(reader_->Text(), row_.start, row_.faultOffset));
        }
        if (row_.count < 2) {
            Add(ImportIssue::MissingJaponais, Advance(reader_->Text(), row_.start, row_.end));
        }
        for (std::size_t i = 2; i < row_.count; ++i) {
            if (row_.fields[i].value.empty()) continue;
            Add(ImportIssue::ExtraField, reader_->Locate(row_, row_.fields[i], 0)).text =
                row_.fields[i].value;
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
                skipped.at.line += lineBase_;
                skipped.lastLine = row_.lastLine + lineBase_;
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
                                     reader_->Locate(row_, field, offset));
            issue.side = side;
            if (escape)
                issue.byte = EscapedByte(c);
            else
                issue.character = c;
        }
        if (!encoded.unmapped.empty() || encoded.length <= limit) return;

        ImportIssue& issue =
            Add(options_.cut ? ImportIssue::Cut : ImportIssue::TooLong, reader_->Locate(row_, field, 0));
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
        issue.at.line += lineBase_;
        return issue;
    }

    const ImportOptions options_;
    const DelimitedReader* reader_ = nullptr;  // over the chunk being read
    long lineBase_ = 0;                        // lines in the chunks before it
    std::string carry_;                        // a row that runs on into the next chunk
    DelimitedRow row_;
    CharEncoder francaisEncoder_{CodePage::Windows1252};
    CharEncoder japonaisEncoder_{CodePage::ShiftJis};
    EncodedField francais_;
    EncodedField japonais_;
    std::vector<ImportIssue> rowIssues_;
    ImportResult result_;
};

ImportResult ImportText(std::string_view text, const ImportOptions& options)
{
    Importer importer(options, LineFeedCount(text));
    importer.Feed(text, true);
    return importer.Finish();
}

ChunkedImport::ChunkedImport(const ImportOptions& options, std::size_t lines)
    : importer_(std::make_unique<Importer>(options, lines))
{
}

ChunkedImport::~ChunkedImport() = default;

void ChunkedImport::Feed(std::string_view text, bool last) { importer_->Feed(text, last); }

ImportResult ChunkedImport::Finish() { return importer_->Finish(); }

}  // namespace mirvel::convert
