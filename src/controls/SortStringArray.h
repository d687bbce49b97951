#pragma once
// The string array the directory tree sorts folder and file names with.
// Portable; the tree gives it the system's comparison of names.
#include <cstddef>
#include <string>
#include <vector>

#include "base/Paths.h"

class CSorStringArray {
 public:
  // Three-way comparison: negative, 0 or positive.
  using Compare = int (*)(const std::string&, const std::string&);

  explicit CSorStringArray(Compare compare = base::CompareNoCaseAscii) : compare_(compare) {}

  void Add(std::string s) { items_.push_back(std::move(s)); }
  std::size_t GetSize() const { return items_.size(); }
  const std::string& operator[](std::size_t i) const { return items_[i]; }
  const std::vector<std::string>& Items() const { return items_; }
  void RemoveAll() { items_.clear(); }

  // Ascending, ignoring case; names that compare equal keep their order.
  void SortNoCase();

 private:
  Compare compare_;
  std::vector<std::string> items_;
};
