#include "editor/Document.h"
#include "editor/ListObserver.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using editor::Document;
using mirvel::TWordRec;

std::string Bytes(const TWordRec& record) { return {reinterpret_cast<const char*>(&record), sizeof record}; }

// A record whose bytes after both strings are all 0xAA, to see where tails go.
TWordRec Tailed(std::string_view francais, std::string_view japonais)
{
    TWordRec record;
    std::memset(&record, 0xAA, sizeof record);
    record.SetFrancais(francais);
    record.SetJaponais(japonais);
    return record;
}

// Records the observer calls in order, so a test sees that the list is told of each change.
class RecordingObserver : public editor::ListObserver {
public:
    std::vector<std::string> calls;
    void BeforeReset() override { calls.push_back("reset<"); }
    void AfterReset() override { calls.push_back(">reset"); }
    void BeforeAppend(std::int32_t i) override { calls.push_back("append<" + std::to_string(i)); }
    void AfterAppend() override { calls.push_back(">append"); }
    void BeforeRemove(std::int32_t i) override { calls.push_back("remove<" + std::to_string(i)); }
    void AfterRemove() override { calls.push_back(">remove"); }
    void Changed(std::int32_t a, std::int32_t b) override
    {
        calls.push_back("changed " + std::to_string(a) + "-" + std::to_string(b));
    }
};

// A document of `count` pairs named w0, w1, ... saved to and opened from a file, so it is
// titled and not modified.
class DocumentWithPairs : public ::testing::Test {
protected:
    void Make(int count)
    {
        mirvel::WordList list;
        for (int i = 0; i < count; ++i)
            list.push_back(Tailed("w" + std::to_string(i), "j" + std::to_string(i)));
        path = dir.File("list.mirvel");
        mirvel::WriteWordFile(path, list);
        document.Open(path);
        document.SetObserver(&observer);
    }
    std::string French(int i) const { return std::string(document.Words()[i].FrancaisBytes()); }

    mirvel::test::TempDir dir;
    std::string path;
    Document document;
    RecordingObserver observer;
};

TEST(DocumentTest, StartsAsOneZeroFilledUntitledPair)
{
    Document document;
    ASSERT_EQ(document.WordCount(), 1);
    EXPECT_EQ(document.WordIndex(), 0);
    EXPECT_FALSE(document.Modified());
    EXPECT_TRUE(document.FileName().empty());
    EXPECT_EQ(Bytes(document.Words()[0]), std::string(60, '\0'));
}

TEST_F(DocumentWithPairs, UntitledUntilOpenedUnlessTheFileIsItselfNamedLikeANewDocument)
{
    EXPECT_TRUE(document.Untitled());
    EXPECT_EQ(document.ShownName(), "新規");
    Make(1);
    EXPECT_FALSE(document.Untitled());
    EXPECT_EQ(document.ShownName(), "list.mirvel");
    const std::string lookalike = dir.File("新規");
    document.SaveAs(lookalike);
    EXPECT_EQ(document.FileName(), lookalike);
    EXPECT_TRUE(document.Untitled());
    document.Clear();
    EXPECT_TRUE(document.Untitled());
}

TEST_F(DocumentWithPairs, ClearKeepsRecordZeroAndZeroesOnlyItsLengths)
{
    Make(3);
    document.Select(2);
    document.Add();
    document.Clear();
    ASSERT_EQ(document.WordCount(), 1);
    EXPECT_EQ(document.WordIndex(), 0);
    EXPECT_FALSE(document.Modified());
    EXPECT_TRUE(document.FileName().empty());
    TWordRec expected = Tailed("w0", "j0");
    expected.Francais[0] = 0;
    expected.Japonais[0] = 0;
    EXPECT_EQ(Bytes(document.Words()[0]), Bytes(expected));
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"append<3", ">append", "reset<", ">reset"}));
}

TEST_F(DocumentWithPairs, RenewCutsToTheCapacitiesAndKeepsLongerTails)
{
    Make(2);
    document.Select(1);
    document.Renew("abcdefghijklmnopqrstu", std::string(45, 'x'));
    const TWordRec& record = document.Words()[1];
    EXPECT_EQ(record.FrancaisBytes(), "abcdefghijklmnopq");
    EXPECT_EQ(record.JaponaisBytes(), std::string(41, 'x'));
    document.Renew("chat", "\x94\x4C");  // 猫
    EXPECT_EQ(record.FrancaisBytes(), "chat");
    EXPECT_EQ(record.JaponaisBytes(), "\x94\x4C");
    // The rest of the earlier, longer value stays behind the new length.
    EXPECT_EQ(record.Francais[5], 'e');
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(observer.calls.back(), "changed 1-1");
}

TEST_F(DocumentWithPairs, DeleteMovesWholeRecordsAndMakesThePreviousPairCurrent)
{
    Make(5);
    const std::string fourth = Bytes(document.Words()[3]);
    document.Select(2);
    document.Delete();
    ASSERT_EQ(document.WordCount(), 4);
    EXPECT_EQ(document.WordIndex(), 1);
    EXPECT_EQ(French(2), "w3");
    EXPECT_EQ(Bytes(document.Words()[2]), fourth);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"remove<2", ">remove"}));

    document.Select(0);
    document.Delete();
    ASSERT_EQ(document.WordCount(), 3);
    EXPECT_EQ(document.WordIndex(), 0);
    EXPECT_EQ(French(0), "w1");

    document.Select(2);
    document.Delete();
    EXPECT_EQ(document.WordCount(), 2);
    EXPECT_EQ(document.WordIndex(), 1);
    EXPECT_EQ(French(1), "w3");
}

TEST_F(DocumentWithPairs, DeletingTheOnlyPairLeavesOneEmptyZeroFilledPair)
{
    Make(1);
    document.Delete();
    ASSERT_EQ(document.WordCount(), 1);
    EXPECT_EQ(document.WordIndex(), 0);
    EXPECT_EQ(Bytes(document.Words()[0]), std::string(60, '\0'));
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"changed 0-0"}));
}

TEST_F(DocumentWithPairs, UpAndDownExchangeTheStringsWhileTailsStayWithTheirRecords)
{
    Make(0);
    mirvel::WordList list{Tailed("un", "ichi"), Tailed("deux", "ni"), Tailed("trois", "san")};
    std::memset(list[1].Francais + 5, 0xBB, 13);
    mirvel::WriteWordFile(path, list);
    document.Open(path);
    observer.calls.clear();

    document.Select(2);
    ASSERT_TRUE(document.Up());
    EXPECT_EQ(document.WordIndex(), 1);
    EXPECT_EQ(French(1), "trois");
    EXPECT_EQ(French(2), "deux");
    EXPECT_EQ(document.Words()[1].JaponaisBytes(), "san");
    // Record 1 had 0xBB after "deux"; "trois" overwrote one of them, the rest stayed in place.
    EXPECT_EQ(document.Words()[1].Francais[6], 0xBB);
    EXPECT_EQ(document.Words()[2].Francais[6], 0xAA);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"changed 1-2"}));

    ASSERT_TRUE(document.Down());
    EXPECT_EQ(document.WordIndex(), 2);
    EXPECT_EQ(French(1), "deux");
    EXPECT_EQ(French(2), "trois");
    // Back and forth, "trois" left its last letter behind "deux" in record 1.
    EXPECT_EQ(document.Words()[1].Francais[5], 's');
    EXPECT_EQ(document.Words()[1].Francais[6], 0xBB);
}

}  // namespace
