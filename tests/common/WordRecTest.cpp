#include "common/WordRec.h"

#include <cstring>
#include <gtest/gtest.h>

namespace mirvel {
namespace {

TEST(WordRec, ValuesAreCutToTheFieldCapacityByBytes)
{
    TWordRec record{};
    record.SetFrancais("abcdefghijklmnopqrstuvwxyz");
    record.SetJaponais(std::string(40, 'x') + "\x82\xa0");  // cut inside the double-byte character
    EXPECT_EQ(record.FrancaisBytes(), "abcdefghijklmnopq");
    EXPECT_EQ(record.Japonais[0], 41);
    EXPECT_EQ(record.JaponaisBytes(), std::string(40, 'x') + "\x82");
}

TEST(WordRec, StoringAShorterValueKeepsTheEarlierTail)
{
    TWordRec record{};
    record.SetFrancais("maison");
    record.SetFrancais("eau");
    EXPECT_EQ(record.FrancaisBytes(), "eau");
    EXPECT_EQ(std::memcmp(record.Francais, "\003eauson", 7), 0);
    EXPECT_EQ(record.Japonais[0], 0);  // the other field is untouched
}

TEST(WordRec, ADamagedLengthShowsTheWholeFieldAndNothingBeyond)
{
    TWordRec record{};
    std::memset(&record, 'z', sizeof record);
    record.Francais[0] = 200;
    record.Japonais[0] = 42;
    EXPECT_EQ(record.FrancaisBytes().size(), FrancaisCapacity);
    EXPECT_EQ(record.JaponaisBytes().size(), JaponaisCapacity);
    EXPECT_EQ(static_cast<const void*>(record.FrancaisBytes().data()), &record.Francais[1]);
}

TEST(WordRec, AZeroLengthIgnoresTheContentBytes)
{
    TWordRec record{};
    std::memset(&record, 'q', sizeof record);
    record.Francais[0] = 0;
    EXPECT_TRUE(record.FrancaisBytes().empty());
}

}  // namespace
}  // namespace mirvel
