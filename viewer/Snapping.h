#pragma once

#include <vector>

namespace viewer {

// An edge this close to a target edge jumps onto it.
constexpr int SnapMargin = 10;

// Screen pixels; Right and Bottom are exclusive.
struct TRect {
    int Left, Top, Right, Bottom;
};

struct SnapForm {
    TRect Rect;
    bool Visible;
    bool IsCardWindow;
};

// What snapping needs from the desktop: the work area (WorkAreaOk false when it could not be
// read) and the program's forms in screen order.
struct SnapEnvironment {
    bool WorkAreaOk;
    TRect WorkArea;
    std::vector<SnapForm> Forms;
};

// Shift `moving` sideways onto an edge of `target` when one of its vertical edges is within
// SnapMargin of one of target's and the two overlap vertically within the margin. True when it
// moved.
bool SnapHorizontal(const TRect& target, TRect& moving);
bool SnapVertical(const TRect& target, TRect& moving);

// Each axis snaps at most once: to the work area first, else to the first visible form in screen
// order other than the card window.
void SnapToEdges(TRect& moving, const SnapEnvironment& env);

// Remembers, from one drag step to the next, where the window would be without snapping
// (virtual) and where it was last put (applied), so that a snapped window stays put until the
// pointer has moved more than SnapMargin away.
class TMoveSnapper {
public:
    // `proposed` is the last applied rectangle moved by the pointer's movement since then; the
    // result is where the window goes.
    TRect WMMoving(const TRect& proposed, const SnapEnvironment& env);

private:
    int virtualLeft_ = 0, virtualTop_ = 0, appliedLeft_ = 0, appliedTop_ = 0;
};

}  // namespace viewer
