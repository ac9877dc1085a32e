#include "viewer/Snapping.h"

#include <cstdlib>

namespace viewer {
namespace {

bool Near(int a, int b) { return std::abs(a - b) <= SnapMargin; }

// The shift that puts one of the moving edges on one of the target's, in this order of
// preference: near edges aligned, far edges aligned, moving just after the target, moving
// just before it. False when no pair is within the margin.
bool EdgeShift(int targetLow, int targetHigh, int movingLow, int movingHigh, int& shift)
{
    if (Near(movingLow, targetLow)) {
        shift = targetLow - movingLow;
    } else if (Near(movingHigh, targetHigh)) {
        shift = targetHigh - movingHigh;
    } else if (Near(movingLow, targetHigh)) {
        shift = targetHigh - movingLow;
    } else if (Near(movingHigh, targetLow)) {
        shift = targetLow - movingHigh;
    } else {
        return false;
    }
    return true;
}

void Offset(TRect& rect, int dx, int dy)
{
    rect.Left += dx;
    rect.Right += dx;
    rect.Top += dy;
    rect.Bottom += dy;
}

template <typename SnapAxis>
void SnapAxisOnce(TRect& moving, const SnapEnvironment& env, SnapAxis snap)
{
    if (env.WorkAreaOk && snap(env.WorkArea, moving)) return;
    for (const SnapForm& form : env.Forms) {
        if (form.IsCardWindow || !form.Visible) continue;
        if (snap(form.Rect, moving)) return;
    }
}

}  // namespace

bool SnapHorizontal(const TRect& target, TRect& moving)
{
    if (moving.Bottom + SnapMargin < target.Top || moving.Top - SnapMargin > target.Bottom) return false;
    int dx = 0;
    if (!EdgeShift(target.Left, target.Right, moving.Left, moving.Right, dx)) return false;
    Offset(moving, dx, 0);
    return true;
}

bool SnapVertical(const TRect& target, TRect& moving)
{
    if (moving.Right + SnapMargin < target.Left || moving.Left - SnapMargin > target.Right) return false;
    int dy = 0;
    if (!EdgeShift(target.Top, target.Bottom, moving.Top, moving.Bottom, dy)) return false;
    Offset(moving, 0, dy);
    return true;
}

void SnapToEdges(TRect& moving, const SnapEnvironment& env)
{
    SnapAxisOnce(moving, env, SnapHorizontal);
    SnapAxisOnce(moving, env, SnapVertical);
}

TRect TMoveSnapper::WMMoving(const TRect& proposed, const SnapEnvironment& env)
{
    const int width = proposed.Right - proposed.Left;
    const int height = proposed.Bottom - proposed.Top;
    // The proposal is the applied position plus the pointer's movement, so the difference is
    // exactly that movement, whatever snapping did before.
    virtualLeft_ += proposed.Left - appliedLeft_;
    virtualTop_ += proposed.Top - appliedTop_;
    TRect result{virtualLeft_, virtualTop_, virtualLeft_ + width, virtualTop_ + height};
    SnapToEdges(result, env);
    appliedLeft_ = result.Left;
    appliedTop_ = result.Top;
    return result;
}

}  // namespace viewer
