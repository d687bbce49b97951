#include "controls/StatusLine.h"

#include "base/Text.h"
#include "controls/Fonts.h"

namespace controls {

void StatusLine::Show(const std::string& text, bool path) {
  const LONG_PTR pathStyles = SS_PATHELLIPSIS | SS_LEFTNOWORDWRAP;
  LONG_PTR style =
      GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK | SS_ELLIPSISMASK);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style | (path ? pathStyles : SS_LEFT));
  SetWindowTextW(hwnd_, base::Wide(text).c_str());
}

void StatusLine::SetWeight(int weight, int dpi) {
  weight_ = weight;
  HFONT font = PageFont({kStatusFont.face, kStatusFont.height, weight, false}, dpi);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

}  // namespace controls
