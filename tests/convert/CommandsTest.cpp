#include "convert/Commands.h"
#include "convert/Export.h"
#include "tests/convert/RunConvert.h"

#include "common/CodePage.h"
#include "tests/support/PlatformErrors.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace mirvel::convert {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

using test::Convert;
using test::Outcome;
using test::Starter;

TEST(Commands, TheStarterListComesBackByteForByteThroughTsvAndCsv)
{
    TempDir dir;
    const std::string original = ReadAll(Starter);
    ASSERT_EQ(original.size() % 60, 0u);
    ASSERT_GT(original.size(), 0u);
    struct Format {
        std::vector<std::string> exportOptions;
        std::vector<std::string> importOptions;
    };
    const Format formats[] = {
        {{}, {}},
        {{"--csv"}, {"--csv"}},
        {{"--bom"}, {}},
        {{"--csv", "--bom"}, {"--csv"}},
    };
    for (const Format& format : formats) {
        SCOPED_TRACE(format.exportOptions.empty() ? "tsv" : format.exportOptions.back());
        std::vector<std::string> exportArgs = {"export", Starter, "-o", dir.File("words.txt")};
        exportArgs.insert(exportArgs.end(), format.exportOptions.begin(), format.exportOptions.end());
        ASSERT_EQ(Convert(exportArgs).code, ExitSuccess);

        std::vector<std::string> importArgs = {"import", dir.File("words.txt"), "-o",
                                               dir.File("back.mirvel")};
        importArgs.insert(importArgs.end(), format.importOptions.begin(), format.importOptions.end());
        const Outcome imported = Convert(importArgs);
        ASSERT_EQ(imported.code, ExitSuccess) << imported.err;
        EXPECT_EQ(ReadAll(dir.File("back.mirvel")), original);
    }
}

TEST(Commands, ExportForAnkiWritesTheWholeListAfterTheHeaders)
{
    TempDir dir;
    const Outcome result =
        Convert({"export", Starter, "-o", dir.File("単語.txt"), "--anki", "--encoding", "utf-8"});
    ASSERT_EQ(result.code, ExitSuccess) << result.err;
    const std::string written = ReadAll(dir.File("単語.txt"));
    EXPECT_EQ(written.rfind("#separator:tab\n#html:false\nbonjour\tこんにちは、おはよう\n", 0), 0u)
        << written;
    ExportOptions anki;
    anki.anki = true;
    ExportWriter writer(anki);
    const WordList words = ReadWordFile(Starter);
    writer.Add(words.data(), words.size(), 1);
    EXPECT_EQ(written, writer.result.bytes);
}

TEST(Commands, ImportWithProblemsWritesNothingAndNamesEachOne)
{
    TempDir dir;
    const std::string out = dir.File("out.mirvel");
    WriteAll(out, "previous contents");
    WriteAll(dir.File("in.tsv"), "bonjour\tこんにちは\nabcdefghijklmnopq\tx\nseul\nça va\t元気〜\n");
    const Outcome result = Convert({"import", dir.File("in.tsv"), "-o", out});
    EXPECT_EQ(result.code, ExitProblems);
    EXPECT_EQ(ReadAll(out), "previous contents");
    EXPECT_NE(result.err.find(dir.File("in.tsv") + ":2:1: フランス語「abcdefghijklmnopq」は Windows-1252 で "
                                                   "17 バイトあり、上限の 16 バイトを超えています"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(":3:5: 日本語の欄がありません"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("問題が 2 件あったため"), std::string::npos);

    const Outcome skipped = Convert({"import", dir.File("in.tsv"), "-o", out, "--skip"});
    EXPECT_EQ(skipped.code, ExitSuccess);
    EXPECT_EQ(ReadAll(out).size(), 120u);
    EXPECT_NE(skipped.err.find(":3: この行を飛ばしました"), std::string::npos) << skipped.err;
    EXPECT_NE(skipped.err.find(":2: この行を飛ばしました"), std::string::npos) << skipped.err;
    EXPECT_NE(skipped.out.find("2 組を"), std::string::npos);
}

TEST(Commands, InputThatIsNotUtf8IsRefusedUntilItsEncodingIsStated)
{
    // 猫 in Shift-JIS is "”L" in Windows-1252, which Shift-JIS holds too: only the user knows.
    TempDir dir;
    WriteAll(dir.File("sjis.csv"), "chat,\x94\x4C\r\n");
    const Outcome refused = Convert({"import", dir.File("sjis.csv"), "-o", dir.File("out.mirvel")});
    EXPECT_EQ(refused.code, ExitProblems);
    EXPECT_NE(
        refused.err.find("sjis.csv:1:6: Shift-JIS としても Windows-1252 としても読めるため、どちらか決め"
                         "られません。文字コードを --encoding cp932 か --encoding cp1252 で指定してください"),
        std::string::npos)
        << refused.err;
    EXPECT_FALSE(FileExists(dir.File("out.mirvel")));

    const Outcome stated =
        Convert({"import", dir.File("sjis.csv"), "-o", dir.File("out.mirvel"), "--encoding", "cp932"});
    ASSERT_EQ(stated.code, ExitSuccess) << stated.err;
    const WordList words = ReadWordFile(dir.File("out.mirvel"));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].JaponaisBytes(), "\x94\x4C");
}

TEST(Commands, CheckAndListReportTheFile)
{
    TempDir dir;
    WordList words(2);
    words[0].SetFrancais("chat");
    words[0].SetJaponais("\x94\x4C");
    words[1].SetFrancais(std::string("x\0", 2));
    words[1].Japonais[0] = 42;
    WriteWordFile(dir.File("w.mirvel"), words);
    const Outcome damaged = Convert({"check", dir.File("w.mirvel")});
    EXPECT_EQ(damaged.code, ExitProblems);
    EXPECT_NE(damaged.out.find("レコード 2 件"), std::string::npos);
    EXPECT_NE(damaged.out.find("レコード 2: 日本語の長さバイトが 42 で、容量の 41 バイトを超えています"),
              std::string::npos)
        << damaged.out;
    EXPECT_NE(damaged.out.find("レコード 2: フランス語の 2 バイト目に制御文字 U+0000 があります"),
              std::string::npos)
        << damaged.out;

    WriteAll(dir.File("clean.mirvel"), ReadAll(Starter));
    EXPECT_EQ(Convert({"check", dir.File("clean.mirvel")}).code, ExitSuccess);
    const Outcome listed = Convert({"list", dir.File("clean.mirvel")});
    EXPECT_EQ(listed.code, ExitSuccess);
    EXPECT_EQ(listed.out.substr(0, listed.out.find('\n')), "  1  bonjour           こんにちは、おはよう");
}

TEST(Commands, UsageErrorsExitWithTwoAndHelpIsJapanese)
{
    TempDir dir;
    WriteAll(dir.File("a.tsv"), "a\tb\n");
    EXPECT_EQ(Convert({}).code, ExitUsage);
    EXPECT_EQ(Convert({"convert"}).code, ExitUsage);
    EXPECT_EQ(Convert({"import", dir.File("a.tsv")}).code, ExitUsage);                      // no -o
    EXPECT_EQ(Convert({"import", dir.File("a.tsv"), "-o", "x", "--bom"}).code, ExitUsage);  // export only
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--encoding", "latin9"}).code, ExitUsage);
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--encoding=cp932", "--bom"}).code, ExitUsage);
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--csv", "--tsv"}).code, ExitUsage);
    EXPECT_EQ(Convert({"check", "a", "b"}).code, ExitUsage);
    const std::pair<std::vector<std::string>, std::string> layouts[] = {
        {{"--separator", "tabs"}, "区切り「tabs」は使えません"},
        {{"--separator", "\""}, "区切り「\"」は使えません"},
        {{"--columns", "1"}, "--columns にはフランス語と日本語の列を"},
        {{"--columns", "1,2,3"}, "--columns にはフランス語と日本語の列を"},
        {{"--columns", "0,1"}, "列の番号は 1 から数えます"},
        {{"--columns", "2,2"}, "--columns の 2 つの列が同じです"},
    };
    for (const auto& [layout, message] : layouts) {
        std::vector<std::string> args = {"import", dir.File("a.tsv"), "-o", dir.File("a.mirvel")};
        args.insert(args.end(), layout.begin(), layout.end());
        const Outcome refused = Convert(args);
        EXPECT_EQ(refused.code, ExitUsage) << layout[1];
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--header"}).code, ExitUsage);
    // The Anki file has one form.
    const Outcome ankiCsv = Convert({"export", "a", "-o", "x", "--anki", "--csv"});
    EXPECT_EQ(ankiCsv.code, ExitUsage);
    EXPECT_NE(ankiCsv.err.find("--anki と --csv は同時に指定できません"), std::string::npos) << ankiCsv.err;
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--tsv", "--anki"}).code, ExitUsage);
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--anki", "--encoding", "cp1252"}).code, ExitUsage);
    EXPECT_EQ(Convert({"export", "a", "-o", "x", "--anki", "--bom"}).code, ExitUsage);
    EXPECT_EQ(Convert({"import", dir.File("a.tsv"), "-o", "x", "--anki"}).code, ExitUsage);
    // Writing over the source, or records over a word table and text over a word list, would
    // lose a file.
    WriteAll(dir.File("a.list"), "a\tb\n");
    EXPECT_EQ(Convert({"import", dir.File("a.list"), "-o", dir.File("a.list")}).code, ExitUsage);
    EXPECT_EQ(ReadAll(dir.File("a.list")), "a\tb\n");
    EXPECT_EQ(Convert({"import", dir.File("a.list"), "-o", dir.File("a.tsv")}).code, ExitUsage);
    EXPECT_EQ(ReadAll(dir.File("a.tsv")), "a\tb\n");
    EXPECT_EQ(Convert({"export", Starter, "-o", dir.File("copy.MIRVEL")}).code, ExitUsage);
    EXPECT_FALSE(FileExists(dir.File("copy.MIRVEL")));

    for (const std::string command : {"import", "export", "check", "list"}) {
        const Outcome help = Convert({command, "--bogus", "--help"});
        EXPECT_EQ(help.code, ExitSuccess);
        EXPECT_EQ(help.out.rfind("使い方: mirvel-convert " + command, 0), 0u) << help.out;
    }
    EXPECT_NE(Convert({"import", "--help"}).out.find("--skip"), std::string::npos);
}

TEST(Commands, FileFailuresExitWithOneAndTheCommonMessage)
{
    TempDir dir;
    const Outcome missing = Convert({"list", dir.File("absent.mirvel")});
    EXPECT_EQ(missing.code, ExitProblems);
    EXPECT_EQ(missing.err, "mirvel-convert: " + dir.File("absent.mirvel") + ": ファイルが見つかりません\n");
    EXPECT_NE(Convert({"check", dir.File("no/such.mirvel")}).err.find("不正なファイル名です"),
              std::string::npos);
    EXPECT_NE(Convert({"check", dir.Path().string()}).err.find("ファイルへのアクセスが拒否されました"),
              std::string::npos);
}

TEST(Commands, AFailedWriteLeavesTheOldOutputAsItWas)
{
    TempDir dir;
    WriteAll(dir.File("in.tsv"), "chat\t猫\n");
    WriteAll(dir.File("out.mirvel"), "old list");
    WriteAll(dir.File("out.csv"), "old table");
    const std::pair<std::vector<std::string>, std::string> runs[] = {
        {{"import", dir.File("in.tsv"), "-o", dir.File("out.mirvel")}, dir.File("out.mirvel")},
        {{"export", Starter, "-o", dir.File("out.csv")}, dir.File("out.csv")},
    };
    for (const auto& [args, output] : runs) {
        SCOPED_TRACE(output);
        os::InjectShortTransfer(os::Op::Write, 1, 10);
        const Outcome failed = Convert(args);
        os::ClearFaults();
        EXPECT_EQ(failed.code, ExitProblems);
        EXPECT_EQ(failed.err, "mirvel-convert: " + output + ": ディスクがいっぱいです\n");
    }
    EXPECT_EQ(ReadAll(dir.File("out.mirvel")), "old list");
    EXPECT_EQ(ReadAll(dir.File("out.csv")), "old table");
}

TEST(Commands, AFailingReadOfTheInputNamesTheFileAndItsError)
{
    TempDir dir;
    WriteAll(dir.File("in.tsv"), "chat\t猫\n");
    const std::pair<std::vector<std::string>, std::string> runs[] = {
        {{"check", Starter}, Starter},
        {{"import", dir.File("in.tsv"), "-o", dir.File("out.mirvel")}, dir.File("in.tsv")},
    };
    for (const auto& [args, input] : runs) {
        SCOPED_TRACE(input);
        os::InjectFault(os::Op::Read, 1, test::platform::DeviceError);
        const Outcome failed = Convert(args);
        os::ClearFaults();
        EXPECT_EQ(failed.code, ExitProblems);
        EXPECT_EQ(failed.err, "mirvel-convert: " + input + ": I/O エラー (1117)\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.mirvel")));
}

}  // namespace
}  // namespace mirvel::convert
