// The converter's import against the plain word-list write it ends in: what reading, decoding,
// splitting and checking every field of a large list costs on top of the save itself.
#include "common/CodePage.h"
#include "convert/Commands.h"
#include "common/WordFile.h"

#include "tests/support/TempDir.h"

#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

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

void BM_ImportCommand(benchmark::State& state)
{
    const std::string& source = SourceFile();
    const std::string target = Scratch().File("imported.mirvel");
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (convert::RunConvert({"import", source, "-o", target}, out, err) != convert::ExitSuccess)
            state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * Lines);
}
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
    benchmark::Shutdown();
    return 0;
}
