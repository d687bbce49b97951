#pragma once
// The window layer speaks the base library's text conversion.
#include "base/Text.h"

namespace ui {

using base::Utf8;
using base::Wide;

}  // namespace ui
