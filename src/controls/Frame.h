#pragma once
// The skinned frame of a window as the system measures it: the pieces of
// skin::FrameLayout for its size, frame and caption metrics.
#include <windows.h>

#include "controls/SkinLayout.h"

namespace controls {

skin::Frame FrameOf(HWND hwnd);
// Draws pieces [first, last) of `frame` on the window's whole-window DC.
void DrawFrame(HWND hwnd, const skin::Frame& frame, int first, int last);

}  // namespace controls
