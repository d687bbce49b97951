#pragma once
#include "base/Seam.h"

namespace ui {

using base::Seam;

}  // namespace ui
