#include "controls/FocusOrder.h"

#include <algorithm>
#include <cstdlib>

namespace focus {

std::vector<int> ReadingOrder(const Stop* stops, std::size_t count) {
  std::vector<int> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [stops](int a, int b) {
    const geom::Rect &ra = stops[a].rect, &rb = stops[b].rect;
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return order;
}

namespace {

// The group of `from` in reading order, split into rows.
std::vector<std::vector<int>> Rows(const Stop* stops, std::size_t count, int group) {
  std::vector<std::vector<int>> rows;
  for (int i : ReadingOrder(stops, count)) {
    if (stops[i].group != group) continue;
    if (rows.empty() || stops[rows.back().front()].rect.top != stops[i].rect.top)
      rows.emplace_back();
    rows.back().push_back(i);
  }
  return rows;
}

int Centre(const geom::Rect& r) { return r.left + r.right; }

int Step(const std::vector<int>& flat, const Stop* stops, int from, int delta) {
  const int n = static_cast<int>(flat.size());
  int at = static_cast<int>(std::find(flat.begin(), flat.end(), from) - flat.begin());
  for (int k = 1; k < n; ++k) {
    int next = flat[static_cast<std::size_t>(((at + delta * k) % n + n) % n)];
    if (stops[next].enabled) return next;
  }
  return from;
}

}  // namespace

int Move(const Stop* stops, std::size_t count, int from, Arrow arrow) {
  if (from < 0 || static_cast<std::size_t>(from) >= count) return from;
  std::vector<std::vector<int>> rows = Rows(stops, count, stops[from].group);
  std::vector<int> flat;
  for (const auto& row : rows) flat.insert(flat.end(), row.begin(), row.end());
  const bool vertical = arrow == Arrow::Up || arrow == Arrow::Down;
  const int delta = (arrow == Arrow::Left || arrow == Arrow::Up) ? -1 : 1;
  if (!vertical || rows.size() < 2) return Step(flat, stops, from, delta);

  const int n = static_cast<int>(rows.size());
  int row = 0;
  while (std::find(rows[row].begin(), rows[row].end(), from) == rows[row].end()) ++row;
  const int x = Centre(stops[from].rect);
  for (int k = 1; k < n; ++k) {
    const auto& candidates = rows[static_cast<std::size_t>(((row + delta * k) % n + n) % n)];
    int best = -1;
    for (int i : candidates)
      if (stops[i].enabled &&
          (best < 0 || std::abs(Centre(stops[i].rect) - x) < std::abs(Centre(stops[best].rect) - x)))
        best = i;
    if (best >= 0) return best;
  }
  return from;
}

}  // namespace focus
