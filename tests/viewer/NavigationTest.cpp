#include "viewer/Navigation.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

mirvel::WordList ThreeWords()
{
    mirvel::WordList words(3);
    words[0].SetFrancais("chat");
    words[0].SetJaponais("\x94\x4c");                          // 猫
    words[1].SetFrancais("\x63\x61\x66\xe9");                  // café
    words[1].SetJaponais("\x83\x52\x81\x5b\x83\x71\x81\x5b");  // コーヒー
    words[2].SetFrancais("");
    words[2].SetJaponais("");
    return words;
}

TEST(NavigationTest, BeforeAnyLoadNothingShowsAndNothingMoves)
{
    Navigation cards;
    EXPECT_EQ(cards.WordCount(), 0);
    ASSERT_EQ(cards.Words().size(), 1u);  // the one empty record that doesn't count
    EXPECT_EQ(cards.FrancaisText(), "");
    EXPECT_EQ(cards.JaponaisText(), "");
    EXPECT_EQ(cards.CounterText(), "0/0");
    EXPECT_FALSE(cards.Next());
    EXPECT_FALSE(cards.Prev());
    EXPECT_EQ(cards.WordIndex(), 0);
    EXPECT_TRUE(cards.JaponaisVisible());  // tag 0 until ApplyOrder runs
}

TEST(NavigationTest, ZeroRecordFileShowsEmptyLabelsAndZeroCounter)
{
    Navigation cards;
    cards.SwapIn(ThreeWords());
    cards.Next();
    cards.SwapIn({});
    EXPECT_EQ(cards.WordCount(), 0);
    EXPECT_EQ(cards.WordIndex(), 0);
    EXPECT_EQ(cards.FrancaisText(), "");
    EXPECT_EQ(cards.JaponaisText(), "");
    EXPECT_EQ(cards.CounterText(), "0/0");
    EXPECT_FALSE(cards.Next());
    EXPECT_FALSE(cards.Prev());
}

TEST(NavigationTest, DamagedLengthShowsTheWholeFieldOnly)
{
    mirvel::WordList words(2);
    words[0].Francais[0] = 200;
    for (std::size_t i = 1; i <= mirvel::FrancaisCapacity; ++i) words[0].Francais[i] = 'a';
    words[0].Japonais[0] = 255;
    Navigation cards;
    cards.SwapIn(std::move(words));
    EXPECT_EQ(cards.FrancaisText(), std::string(17, 'a') + " ");
    EXPECT_EQ(cards.JaponaisText().size(), mirvel::JaponaisCapacity);
}

TEST(NavigationTest, OnlyExactFJPutsFrenchFirst)
{
    struct Case {
        const char* order;
        bool japaneseFirst;
    };
    for (const Case& c : {Case{"FJ", false}, Case{"JF", true}, Case{"fj", true}, Case{"jf", true},
                          Case{"", true}, Case{"FJ ", true}}) {
        Navigation cards;
        cards.SetOrder(c.order);
        cards.ApplyOrder();
        EXPECT_EQ(cards.JaponaisVisible(), c.japaneseFirst) << '"' << c.order << '"';
        EXPECT_EQ(cards.RevealTag(), c.japaneseFirst ? 0 : 1) << '"' << c.order << '"';
    }
}

TEST(NavigationTest, RevealNamesTheSideItWillShowNext)
{
    Navigation cards;
    cards.SwapIn(ThreeWords());
    cards.ApplyOrder();  // "FJ": French showing
    EXPECT_EQ(cards.RevealImageIndex(), 1);
    EXPECT_EQ(cards.RevealHint(), "日本語");
    EXPECT_FALSE(cards.MenuFEnabled());
    EXPECT_TRUE(cards.MenuJEnabled());

    cards.ToggleReveal();
    EXPECT_TRUE(cards.JaponaisVisible());
    EXPECT_EQ(cards.RevealImageIndex(), 0);
    EXPECT_EQ(cards.RevealHint(), "フランス語");
    EXPECT_TRUE(cards.MenuFEnabled());
    EXPECT_FALSE(cards.MenuJEnabled());

    cards.ToggleReveal();
    EXPECT_FALSE(cards.JaponaisVisible());
    EXPECT_NE(cards.MenuFEnabled(), cards.MenuJEnabled());
}

}  // namespace
}  // namespace viewer
