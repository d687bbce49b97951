#include "controls/SortStringArray.h"

#include <algorithm>

void CSorStringArray::SortNoCase() {
  std::stable_sort(
      items_.begin(), items_.end(),
      [this](const std::string& a, const std::string& b) { return compare_(a, b) < 0; });
}
