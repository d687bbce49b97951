#pragma once
// The DPI a window is shown at, and the calls that depend on it. The
// per-monitor calls exist only on newer Windows (10 1607 and later), so
// they are looked up at run time; older systems answer with the system DPI.
#include <windows.h>

#include "ui/Scale.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ui {

// GetDpiForWindow where it exists, else the screen's LOGPIXELSX.
int DpiOf(HWND hwnd);
// The system DPI (the primary monitor's, and the only one before Windows 8.1).
int SystemDpi();
// GetSystemMetricsForDpi where it exists, else GetSystemMetrics scaled
// from the system DPI to `dpi`.
int MetricForDpi(int index, int dpi);
// Stops the dialog manager's own rescaling of a dialog on a DPI change
// (Windows 10 1703 and later): our layout tables place everything.
void OwnDialogScaling(HWND dialog);
// On WM_DPICHANGED: keeps the window where the system suggests putting it
// on the new monitor; its size comes from its own layout.
void MoveToSuggested(HWND hwnd, const RECT& suggested);

}  // namespace ui
