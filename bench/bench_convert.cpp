// The converter's import against the plain word-list write it ends in: what reading, decoding,
// splitting and checking every field of a large list costs on top of the save itself. And the
// import of a workbook against the same rows as a UTF-8 CSV: what unzipping and parsing the
// sheet's XML costs.
#include "common/CodePage.h"
#include "convert/Commands.h"
#include "common/WordFile.h"

#include "tests/support/TempDir.h"

#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>
#include <minizip/zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using namespace mirvel;

constexpr std::int64_t Lines = 1000000;

// One folder for the whole run, removed at its end.
const mirvel::test::TempDir& Scratch()
{
    static const mirvel::test::TempDir folder;
    return folder;
}

// Pairs of the shape a learner's list has: short French words, some accented, and Japanese
// meanings in kana and kanji, numbered so that no two lines are alike.
const char* const Francais[] = {"mémorable", "bonjour", "s'il vous plaît", "œuvre", "ça va", "élève"};
const char* const Japonais[] = {"記憶すべき", "こんにちは", "お願いします", "作品", "元気？", "生徒、学生"};

std::string Pair(std::int64_t i, std::string& japonais)
{
    const std::string number = std::to_string(i % 100000);
    japonais = std::string(Japonais[i % 6]) + " " + number;
    return std::string(Francais[i % 6]).substr(0, 10) + " " + number;
}

const std::string& SourceFile()
{
    static const std::string path = [] {
        const std::string name = Scratch().File("words.tsv");
        std::ofstream out(name, std::ios::binary);
        std::string japonais;
        for (std::int64_t i = 0; i < Lines; ++i) {
            const std::string francais = Pair(i, japonais);
            out << francais << '\t' << japonais << "\r\n";
        }
        return name;
    }();
    return path;
}

WordList SameWords()
{
    WordList words(static_cast<std::size_t>(Lines));
    std::string japonais;
    for (std::int64_t i = 0; i < Lines; ++i) {
        const std::string francais = Pair(i, japonais);
        words[i].SetFrancais(*EncodeFromUtf8(CodePage::Windows1252, francais));
        words[i].SetJaponais(*EncodeFromUtf8(CodePage::ShiftJis, japonais));
    }
    return words;
}

// The import command of `rows` rows from `source`, run again and again.
void TimeImport(benchmark::State& state, const std::string& source, std::int64_t rows)
{
    const std::string target = Scratch().File("imported.mirvel");
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (convert::RunConvert({"import", source, "-o", target}, out, err) != convert::ExitSuccess)
            state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_ImportCommand(benchmark::State& state) { TimeImport(state, SourceFile(), Lines); }
BENCHMARK(BM_ImportCommand)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The baseline: the same pairs, already records, saved by the common writer.
void BM_PlainWriteWordFile(benchmark::State& state)
{
    const WordList words = SameWords();
    const std::string target = Scratch().File("plain.mirvel");
    for (auto _ : state) WriteWordFile(target, words);
    state.SetItemsProcessed(state.iterations() * Lines);
}
BENCHMARK(BM_PlainWriteWordFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A word list as a spreadsheet saves it: a header row, then the pairs as shared strings, as
// Excel and LibreOffice write them; and the same rows as a UTF-8 CSV.
constexpr std::int64_t SheetRows = 100000;

const std::string& WorkbookFile()
{
    static const std::string path = [] {
        std::string sheet =
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
        std::string strings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
        std::string csv;
        std::string japonais;
        for (std::int64_t i = 0; i <= SheetRows; ++i) {
            const std::string francais = i == 0 ? "Français" : Pair(i, japonais);
            if (i == 0) japonais = "日本語";
            const std::string r = std::to_string(i + 1);
            sheet += "<row r=\"" + r + "\"><c r=\"A" + r + "\" t=\"s\"><v>" + std::to_string(2 * i) +
                     "</v></c><c r=\"B" + r + "\" t=\"s\"><v>" + std::to_string(2 * i + 1) + "</v></c></row>";
            strings += "<si><t>" + francais + "</t></si><si><t>" + japonais + "</t></si>";
            csv += francais + "," + japonais + "\r\n";
        }
        sheet += "</sheetData></worksheet>";
        strings += "</sst>";
        std::ofstream(Scratch().File("words.csv"), std::ios::binary) << csv;
        const std::pair<const char*, std::string> parts[] = {
            {"[Content_Types].xml",
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
            {"xl/workbook.xml",
             "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
             "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
             "<sheet name=\"Mots\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels",
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
             "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
             "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
             "Target=\"sharedStrings.xml\"/></Relationships>"},
            {"xl/worksheets/sheet1.xml", sheet},
            {"xl/sharedStrings.xml", strings},
        };
        const std::string name = Scratch().File("words.xlsx");
        zipFile zip = zipOpen64(name.c_str(), 0);
        for (const auto& [part, text] : parts) {
            zipOpenNewFileInZip64(zip, part, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 1);
            zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size()));
            zipCloseFileInZip(zip);
        }
        zipClose(zip, nullptr);
        return name;
    }();
    return path;
}

void BM_ImportXlsx(benchmark::State& state) { TimeImport(state, WorkbookFile(), SheetRows); }
void BM_ImportSameCsv(benchmark::State& state)
{
    WorkbookFile();
    TimeImport(state, Scratch().File("words.csv"), SheetRows);
}
BENCHMARK(BM_ImportXlsx)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportSameCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    mirvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double import = reporter.Seconds("BM_ImportCommand");
    const double plain = reporter.Seconds("BM_PlainWriteWordFile");
    if (import > 0 && plain > 0)
        std::printf("import of %lld lines / plain write of the same pairs: %.2fx (goal: within 3x)\n",
                    static_cast<long long>(Lines), import / plain);
    const double xlsx = reporter.Seconds("BM_ImportXlsx");
    const double csv = reporter.Seconds("BM_ImportSameCsv");
    if (xlsx > 0 && csv > 0)
        std::printf("import of a %lld-row .xlsx / the same rows as a UTF-8 CSV: %.2fx (goal: within 3x)\n",
                    static_cast<long long>(SheetRows), xlsx / csv);
    benchmark::Shutdown();
    return 0;
}
