#pragma once

namespace viewer {

// Makes every TSpinEdit read as a spin box with a value, as the platform's own spin box does,
// instead of as a bare edit box beside two unnamed arrow buttons. Installing again does nothing.
void InstallSpinEditAccessibility();

}  // namespace viewer
