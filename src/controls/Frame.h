#pragma once
// The skinned frame of a window as the system measures it: the pieces of
// skin::FrameLayout for its size, frame and caption metrics.
#include <windows.h>

#include "controls/SkinLayout.h"

namespace controls {

// Frame and caption metrics are the system's at `dpi`.
skin::Frame FrameOf(HWND hwnd, int dpi);
// Draws pieces [first, last) of `frame` on the window's whole-window DC.
void DrawFrame(HWND hwnd, const skin::Frame& frame, int first, int last, int dpi);

}  // namespace controls
