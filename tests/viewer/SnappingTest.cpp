#include "viewer/Snapping.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

constexpr int CardWidth = 156;
constexpr int CardHeight = 76;

TRect CardAt(int left, int top) { return {left, top, left + CardWidth, top + CardHeight}; }

SnapEnvironment WorkAreaOnly() { return {true, {0, 0, 1024, 738}, {}}; }

SnapEnvironment NoWorkArea(std::vector<SnapForm> forms)
{
    return {false, {0, 0, 1024, 738}, std::move(forms)};
}

void ExpectRect(const TRect& expected, const TRect& actual)
{
    EXPECT_EQ(expected.Left, actual.Left);
    EXPECT_EQ(expected.Top, actual.Top);
    EXPECT_EQ(expected.Right, actual.Right);
    EXPECT_EQ(expected.Bottom, actual.Bottom);
}

TRect Snapped(TRect rect, const SnapEnvironment& env)
{
    SnapToEdges(rect, env);
    return rect;
}

TEST(SnappingTest, EdgesWithinTenPixelsOfTheWorkAreaSnap)
{
    const int right = 1024 - CardWidth;
    const int bottom = 738 - CardHeight;
    const struct {
        const char* what;
        TRect start, expected;
    } cases[] = {
        {"left edge at 7", CardAt(7, 300), CardAt(0, 300)},
        {"left edge exactly 10 away", CardAt(10, 300), CardAt(0, 300)},
        {"left edge 11 away", CardAt(11, 300), CardAt(11, 300)},
        {"left edge 10 outside", CardAt(-10, 300), CardAt(0, 300)},
        {"left edge 11 outside", CardAt(-11, 300), CardAt(-11, 300)},
        {"right edge 8 inside", CardAt(right - 8, 300), CardAt(right, 300)},
        {"right edge 10 outside", CardAt(right + 10, 300), CardAt(right, 300)},
        {"bottom edge 9 inside", CardAt(500, bottom - 9), CardAt(500, bottom)},
        {"bottom edge 11 inside", CardAt(500, bottom - 11), CardAt(500, bottom - 11)},
        // Almost entirely off the screen: the left edge goes onto the work area's right edge.
        {"left edge 7 short of the right edge", CardAt(1017, 300), CardAt(1024, 300)},
        {"top edge 7 short of the bottom edge", CardAt(500, 731), CardAt(500, 738)},
        {"bottom edge 6 below the top edge", CardAt(500, -CardHeight + 6), CardAt(500, -CardHeight)},
        {"top-left corner", CardAt(4, 9), CardAt(0, 0)},
        {"bottom-right corner", CardAt(right - 3, bottom + 5), CardAt(right, bottom)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRect(c.expected, Snapped(c.start, WorkAreaOnly()));
    }
}

TEST(SnappingTest, OverlapTestAcrossTheOtherAxisIsStrict)
{
    const TRect target{500, 100, 600, 200};
    // Bottom + 10 equal to the target's top still counts as overlapping; one more pixel doesn't.
    TRect touching{595, 100 - 10 - CardHeight, 595 + CardWidth, 90};
    EXPECT_TRUE(SnapHorizontal(target, touching));
    EXPECT_EQ(600, touching.Left);
    TRect apart{595, 99 - 10 - CardHeight, 595 + CardWidth, 89};
    EXPECT_FALSE(SnapHorizontal(target, apart));
    EXPECT_EQ(595, apart.Left);

    TRect below{595, 210, 595 + CardWidth, 210 + CardHeight};
    EXPECT_TRUE(SnapHorizontal(target, below));
    TRect farBelow{595, 211, 595 + CardWidth, 211 + CardHeight};
    EXPECT_FALSE(SnapHorizontal(target, farBelow));

    TRect right{610, 195, 610 + CardWidth, 195 + CardHeight};
    EXPECT_TRUE(SnapVertical(target, right));
    EXPECT_EQ(200, right.Top);
    TRect farRight{611, 195, 611 + CardWidth, 195 + CardHeight};
    EXPECT_FALSE(SnapVertical(target, farRight));
    EXPECT_EQ(195, farRight.Top);
}

TEST(SnappingTest, EdgePairsAreTriedInOrder)
{
    // A target narrower than the margin puts several pairs in reach; left/left comes first.
    const TRect narrow{100, 0, 105, 500};
    TRect moving{103, 10, 108, 20};
    ASSERT_TRUE(SnapHorizontal(narrow, moving));
    EXPECT_EQ(100, moving.Left);
    EXPECT_EQ(105, moving.Right);

    // Right/right comes before left on the target's right.
    TRect wide{98, 10, 107, 20};
    ASSERT_TRUE(SnapHorizontal(TRect{80, 0, 105, 500}, wide));
    EXPECT_EQ(105, wide.Right);

    // Just left of the target: the right edge goes onto its left.
    TRect before{0, 10, 94, 20};
    ASSERT_TRUE(SnapHorizontal(TRect{100, 0, 300, 500}, before));
    EXPECT_EQ(100, before.Right);
    EXPECT_EQ(6, before.Left);
}

TEST(SnappingTest, HiddenFormsAndTheCardItselfAreNeverTargets)
{
    const TRect other{300, 200, 500, 400};
    const TRect nearOther = CardAt(505, 250);
    ExpectRect(nearOther, Snapped(nearOther, NoWorkArea({{other, false, false}})));
    ExpectRect(nearOther, Snapped(nearOther, NoWorkArea({{other, true, true}})));
    ExpectRect(CardAt(500, 250), Snapped(nearOther, NoWorkArea({{other, true, false}})));
}

TEST(SnappingTest, FirstVisibleFormInScreenOrderWins)
{
    const SnapForm hidden{{300, 200, 503, 400}, false, false};
    const SnapForm first{{300, 200, 500, 400}, true, false};
    const SnapForm second{{300, 200, 510, 400}, true, false};
    ExpectRect(CardAt(500, 250), Snapped(CardAt(505, 250), NoWorkArea({hidden, first, second})));
    ExpectRect(CardAt(510, 250), Snapped(CardAt(505, 250), NoWorkArea({hidden, second, first})));
}

TEST(SnappingTest, WorkAreaWinsOverAFormAndEachAxisSnapsOnce)
{
    SnapEnvironment env = WorkAreaOnly();
    env.Forms.push_back({{-100, 0, 8, 738}, true, false});
    // The form alone would put the card just right of it, at 8; the work area's left edge
    // decides, and the form gets no second go at the same axis.
    ExpectRect(CardAt(0, 300), Snapped(CardAt(5, 300), env));

    // An axis the work area leaves alone falls to the forms.
    env.Forms = {{{100, 300, 400, 500}, true, false}};
    ExpectRect(CardAt(0, 300), Snapped(CardAt(4, 306), env));
}

TEST(SnappingTest, UnreadableWorkAreaIsSkipped)
{
    SnapEnvironment env = WorkAreaOnly();
    env.WorkAreaOk = false;
    ExpectRect(CardAt(5, 5), Snapped(CardAt(5, 5), env));
}

TEST(SnappingTest, FirstMoveTakesTheProposedPosition)
{
    TMoveSnapper snapper;
    ExpectRect(CardAt(300, 200), snapper.WMMoving(CardAt(300, 200), WorkAreaOnly()));

    TMoveSnapper nearEdge;
    ExpectRect(CardAt(0, 200), nearEdge.WMMoving(CardAt(6, 200), WorkAreaOnly()));
}

// Drives the snapper as a move loop does: each proposal is the last applied rectangle moved
// by the pointer's movement.
class Drag {
public:
    Drag(TMoveSnapper& snapper, TRect start)
        : snapper_(snapper), applied_(snapper.WMMoving(start, WorkAreaOnly()))
    {
    }
    TRect Move(int dx, int dy)
    {
        const TRect proposed{applied_.Left + dx, applied_.Top + dy, applied_.Right + dx,
                             applied_.Bottom + dy};
        applied_ = snapper_.WMMoving(proposed, WorkAreaOnly());
        return applied_;
    }

private:
    TMoveSnapper& snapper_;
    TRect applied_;
};

TEST(SnappingTest, SnappedWindowStaysUntilThePointerIsMoreThanTenAway)
{
    TMoveSnapper snapper;
    Drag drag(snapper, CardAt(30, 300));
    ExpectRect(CardAt(15, 300), drag.Move(-15, 0));
    ExpectRect(CardAt(0, 300), drag.Move(-5, 0));    // virtual 10
    ExpectRect(CardAt(0, 300), drag.Move(-4, 0));    // virtual 6
    ExpectRect(CardAt(0, 300), drag.Move(4, 0));     // virtual 10
    ExpectRect(CardAt(11, 300), drag.Move(1, 0));    // virtual 11: back under the pointer
    ExpectRect(CardAt(11, 290), drag.Move(0, -10));  // the other axis is untouched
}

TEST(SnappingTest, StateCarriesOverToTheNextDrag)
{
    TMoveSnapper snapper;
    Drag first(snapper, CardAt(100, 100));
    first.Move(0, -95);  // virtual top 5, snapped to 0
    // The next drag proposes from where the window really is (top 0); the virtual position
    // still remembers the 5 pixels the snap swallowed.
    ExpectRect(CardAt(100, 0), snapper.WMMoving(CardAt(100, 5), WorkAreaOnly()));   // virtual 10
    ExpectRect(CardAt(100, 11), snapper.WMMoving(CardAt(100, 1), WorkAreaOnly()));  // virtual 11
}

}  // namespace
}  // namespace viewer
