#include "samples/WordListSource.h"

#include "common/CodePage.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <sstream>

namespace samples {
namespace {

using mirvel::test::ReadAll;
using mirvel::test::TempDir;
using mirvel::test::WriteAll;

const std::string SamplesDir = MIRVEL_SAMPLES_DIR;

// The tool itself, as the build runs it; its exit code.
int MakeWordList(const std::string& source, const std::string& output)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(QString::fromUtf8(MIRVEL_MAKE_WORDLIST),
               {QString::fromStdString(source), QString::fromStdString(output)});
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit) return -1;
    return tool.exitCode();
}

TEST(StarterListTest, ShippedFileMatchesItsSourceByteForByte)
{
    TempDir dir;
    const std::string rebuilt = dir.File("starter.mirvel");
    ASSERT_EQ(MakeWordList(SamplesDir + "/starter.tsv", rebuilt), 0);
    const std::string shipped = ReadAll(SamplesDir + "/starter.mirvel");
    EXPECT_GE(shipped.size(), 150 * mirvel::RecordSize);
    EXPECT_TRUE(ReadAll(rebuilt) == shipped)
        << "build the starter_list target to refresh samples/starter.mirvel";
}

TEST(StarterListTest, EveryPairFitsWhatTheEditorAccepts)
{
    const mirvel::WordList words = mirvel::ReadWordFile(SamplesDir + "/starter.mirvel");
    bool accented = false;
    for (const mirvel::TWordRec& record : words) {
        EXPECT_LE(record.Francais[0], MaxFrancaisBytes);
        EXPECT_LE(record.Japonais[0], MaxJaponaisBytes);
        EXPECT_GT(record.Francais[0], 0);
        EXPECT_GT(record.Japonais[0], 0);
        for (const char c : record.FrancaisBytes()) accented |= static_cast<unsigned char>(c) >= 0x80;
    }
    EXPECT_TRUE(accented);
}

TEST(StarterListTest, EncodesBothSidesIntoZeroFilledRecords)
{
    std::istringstream source("# comment\n\nl'œuf\t卵\r\nça va\tOK\n");
    const mirvel::WordList words = ParseWordListSource(source);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].FrancaisBytes(),
              "l'\x9c"
              "uf");
    EXPECT_EQ(words[0].JaponaisBytes(), "\x97\x91");
    EXPECT_EQ(words[1].FrancaisBytes(),
              "\xe7"
              "a va");
    EXPECT_EQ(words[1].Francais[7], 0);
    EXPECT_EQ(words[1].Japonais[41], 0);
}

TEST(StarterListTest, RefusesLinesThatDoNotFit)
{
    const char* const badLines[] = {
        "abcdefghijklmnopq\tやあ\n",                           // 17 French bytes
        "chat\tあいうえおかきくけこさしすせそたちつてとな\n",  // 42 Shift-JIS bytes
        "chat\n",                                              // no tab
        "chat\tねこ\tcat\n",                                   // two tabs
        "Ŝ\tエス\n",                                           // not in Windows-1252
    };
    for (const char* line : badLines) {
        std::istringstream source(std::string("ok\tよい\n") + line);
        try {
            ParseWordListSource(source);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const SourceError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("line 2: ", 0), 0u) << error.what();
        }
    }
}

TEST(StarterListTest, ToolRefusesAndWritesNothing)
{
    TempDir dir;
    WriteAll(dir.File("bad.tsv"), "la salle de bains\tバスルーム\n");
    const std::string output = dir.File("bad.mirvel");
    EXPECT_EQ(MakeWordList(dir.File("bad.tsv"), output), 1);
    EXPECT_FALSE(mirvel::FileExists(output));
}

}  // namespace
}  // namespace samples
