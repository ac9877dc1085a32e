// The converter's import on arbitrary input bytes and options, with the input cut into chunks
// at line feeds chosen by the fuzzer, as a large file is read: the result doesn't depend on
// where the chunks end; a list it would write holds whole records within the editor's budgets,
// each field's bytes inside its field, and passes `check`; and that list, exported for Anki
// and imported again, comes back byte for byte. The encoding choice, separators, quoting,
// Anki's headers and HTML all lie on that path.
#include "tests/fuzz/FuzzScratch.h"

#include "common/Utf8Text.h"
#include "common/WordRec.h"
#include "convert/Check.h"
#include "convert/Export.h"
#include "convert/FieldHtml.h"
#include "convert/ImportInput.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace mirvel::convert;

// Chunks of `text` as InputChunks hands them out: each ends just after a line feed (a unit of
// `unitSize` bytes counted from the start), the first one at or after each cut; the last
// holds the rest, possibly nothing.
ChunkSource Chunks(const std::string& text, const std::vector<std::size_t>& cuts)
{
    return [&text, &cuts](const ChunkHandler& onChunk, std::size_t unitSize, bool bigEndian) {
        const auto isLineFeed = [&](std::size_t at) {
            if (unitSize == 1) return text[at] == '\n';
            return text[at + (bigEndian ? 1 : 0)] == '\n' && text[at + (bigEndian ? 0 : 1)] == '\0';
        };
        std::size_t start = 0;
        for (const std::size_t cut : cuts) {
            std::size_t at = std::max(start, cut / unitSize * unitSize);
            while (at + unitSize <= text.size() && !isLineFeed(at)) at += unitSize;
            if (at + unitSize > text.size()) break;
            const std::size_t end = at + unitSize;
            onChunk(std::string_view(text).substr(start, end - start), false);
            start = end;
        }
        onChunk(std::string_view(text).substr(start), true);
    };
}

bool SameOutcome(const ImportRun& a, const ImportRun& b)
{
    if (a.Undecided() != b.Undecided() || a.input.encoding != b.input.encoding) return false;
    const ImportResult& x = a.result;
    const ImportResult& y = b.result;
    return x.words.size() == y.words.size() &&
           (x.words.empty() || std::memcmp(x.words.data(), y.words.data(), x.words.size() * mirvel::RecordSize) == 0) &&
           x.issues.size() == y.issues.size() && x.problems == y.problems && x.Writable() == y.Writable() &&
           x.separator == y.separator;
}

// The length byte within the budget and nothing but zeros after the field's bytes.
bool FieldIsClean(const unsigned char* field, std::size_t capacity, std::size_t budget)
{
    if (field[0] > budget) return false;
    for (std::size_t i = 1 + field[0]; i <= capacity; ++i)
        if (field[i] != 0) return false;
    return true;
}

// An HTML field's text: well-formed, trimmed, single-spaced.
void CheckHtml(std::string_view field)
{
    if (!mirvel::IsValidUtf8(field)) return;
    const std::string text = HtmlFieldText(field);
    FUZZ_CHECK(mirvel::IsValidUtf8(text));
    FUZZ_CHECK(text.empty() || (text.front() != ' ' && text.back() != ' '));
    FUZZ_CHECK(text.find("  ") == std::string::npos);
}

ImportOptions OptionsFrom(FuzzedDataProvider& input)
{
    static const char separators[] = {',', ';', '\t', '|', ':'};
    static const char* const columns[][2] = {{"1", "2"}, {"2", "1"}, {"2", "3"}, {"French", "Japanese"}, {"Back", "Front"}};
    ImportOptions options;
    const auto bits = input.ConsumeIntegral<std::uint8_t>();
    options.csv = bits & 1;
    options.header = bits & 2;
    options.html = bits & 4;
    options.skip = bits & 8;
    options.cut = bits & 16;
    if (bits & 32) options.separator = input.PickValueInArray(separators);
    if (bits & 64) {
        const auto& pair = columns[input.ConsumeIntegralInRange<std::size_t>(0, std::size(columns) - 1)];
        options.columns = {pair[0], pair[1]};
    }
    return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const ImportOptions options = OptionsFrom(input);
    static const TextEncoding encodings[] = {TextEncoding::Utf8, TextEncoding::Cp932, TextEncoding::Cp1252};
    std::optional<TextEncoding> stated;
    if (input.ConsumeBool()) stated = input.PickValueInArray(encodings);
    std::vector<std::size_t> cuts(input.ConsumeIntegralInRange<std::size_t>(0, 4));
    for (auto& cut : cuts) cut = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    std::sort(cuts.begin(), cuts.end());
    const std::string text = input.ConsumeRemainingBytesAsString();
    CheckHtml(std::string_view(text).substr(0, 512));

    ImportRun whole, chunked;
    try {
        whole = ImportInput(Chunks(text, {}), options, stated);
    } catch (const ColumnsError&) {
        FUZZ_CHECK(!options.columns.empty());
        return 0;
    }
    try {
        chunked = ImportInput(Chunks(text, cuts), options, stated);
    } catch (const ColumnsError&) {
        FUZZ_CHECK(text.find('"') != std::string::npos);  // the stray-quote rule, as below
        return 0;
    }
    // A quoted field still open a whole chunk after it began is taken as a stray quote, so that
    // one quote can't make the reader hold the rest of the file: with quotes, chunks of a few
    // lines may read otherwise than the whole (real chunks are a megabyte).
    if (text.find('"') == std::string::npos) FUZZ_CHECK(SameOutcome(whole, chunked));
    const ImportResult& result = whole.result;
    if (whole.Undecided() || !result.Writable()) return 0;

    for (const mirvel::TWordRec& record : result.words) {
        FUZZ_CHECK(FieldIsClean(record.Francais, mirvel::FrancaisCapacity, mirvel::MaxFrancaisBytes));
        FUZZ_CHECK(FieldIsClean(record.Japonais, mirvel::JaponaisCapacity, mirvel::MaxJaponaisBytes));
    }
    FUZZ_CHECK(CheckWords(result.words, "").Clean());  // nothing check would call damaged

    // What would be written goes to Anki and back unchanged.
    ExportOptions anki;
    anki.anki = true;
    ExportWriter writer(anki);
    writer.Add(result.words.data(), result.words.size(), 1);
    FUZZ_CHECK(writer.result.refusals == 0);
    const ImportRun back = ImportInput(Chunks(writer.result.bytes, {}), ImportOptions{}, std::nullopt);
    FUZZ_CHECK(!back.Undecided() && back.result.problems == 0);
    FUZZ_CHECK(back.result.words.size() == result.words.size());
    FUZZ_CHECK(result.words.empty() || std::memcmp(back.result.words.data(), result.words.data(),
                                                   result.words.size() * mirvel::RecordSize) == 0);
    return 0;
}
