// The converter's import on arbitrary input bytes and options, through the functions the
// command runs (the input read from a file, planned, its rows read once): a list it would write
// holds whole records within the editor's budgets, each field's bytes inside its field, and
// passes `check`; and that list, exported for Anki and imported again, comes back byte for
// byte. The encoding choice, separators, quoting, the header row, Anki's headers and HTML all
// lie on that path.
#include "tests/fuzz/FuzzScratch.h"

#include "common/Utf8Text.h"
#include "common/WordRec.h"
#include "convert/Export.h"
#include "convert/FieldHtml.h"
#include "convert/Import.h"
#include "convert/Input.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace mirvel::convert;

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
    static const char* const columns[][2] = {
        {"1", "2"}, {"2", "1"}, {"2", "3"}, {"French", "Japanese"}, {"Back", "Front"}};
    ImportOptions options;
    const auto bits = input.ConsumeIntegral<std::uint8_t>();
    options.csv = bits & 1;
    if (bits & 2) options.header = !(bits & 128);
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

// What the command would write, or nothing when it would write nothing.
std::optional<mirvel::WordList> Import(const std::string& bytes, const ImportOptions& options,
                                       std::optional<TextEncoding> stated)
{
    const std::string path = mirvel::fuzz::Scratch::Get().File("input.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    const InputText input = ReadInput(path);
    const ImportPlan plan = PlanImport(input.Bytes(), input.bom, stated, options);
    if (plan.undecided) return std::nullopt;
    mirvel::WordList words;
    const ImportResult result = ImportRows(input.Bytes(), plan, options,
                                           [&](const mirvel::TWordRec& record) { words.push_back(record); });
    FUZZ_CHECK(result.records == static_cast<std::int64_t>(words.size()));
    if (!result.Writable()) return std::nullopt;
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const ImportOptions options = OptionsFrom(input);
    static const TextEncoding encodings[] = {TextEncoding::Utf8, TextEncoding::Cp932, TextEncoding::Cp1252};
    std::optional<TextEncoding> stated;
    if (input.ConsumeBool()) stated = input.PickValueInArray(encodings);
    const std::string text = input.ConsumeRemainingBytesAsString();
    CheckHtml(std::string_view(text).substr(0, 512));

    std::optional<mirvel::WordList> words;
    try {
        words = Import(text, options, stated);
    } catch (const ColumnsError&) {
        FUZZ_CHECK(!options.columns.empty());
        return 0;
    }
    if (!words) return 0;
    for (const mirvel::TWordRec& record : *words) {
        FUZZ_CHECK(FieldIsClean(record.Francais, mirvel::FrancaisCapacity, mirvel::MaxFrancaisBytes));
        FUZZ_CHECK(FieldIsClean(record.Japonais, mirvel::JaponaisCapacity, mirvel::MaxJaponaisBytes));
        FUZZ_CHECK(record.Francais[0] + record.Japonais[0] > 0);  // a row of two empty words is no pair
    }
    std::vector<RecordFinding> findings;
    CheckRecords(words->data(), words->size(), 1, findings);
    FUZZ_CHECK(findings.empty());  // nothing check would call damaged

    // What would be written goes to Anki and back unchanged.
    ExportOptions anki;
    anki.anki = true;
    ExportWriter writer(anki);
    writer.Add(words->data(), words->size(), 1);
    FUZZ_CHECK(writer.result.Refusals() == 0);
    const auto back = Import(writer.result.bytes, ImportOptions{}, std::nullopt);
    FUZZ_CHECK(back && back->size() == words->size());
    FUZZ_CHECK(words->empty() ||
               std::memcmp(back->data(), words->data(), words->size() * mirvel::RecordSize) == 0);
    return 0;
}
