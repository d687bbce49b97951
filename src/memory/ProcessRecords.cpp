#include "memory/ProcessRecords.h"

#include <algorithm>
#include <set>

namespace memory {

namespace {

uint64_t ReadLE(const unsigned char* p, size_t bytes) {
  uint64_t v = 0;
  for (size_t k = bytes; k-- > 0;) v = (v << 8) | p[k];
  return v;
}

}  // namespace

RecordLayout LayoutFor(size_t pointerSize) {
  // The counted name sits at 0x38; on 64-bit its pointer is aligned to 8.
  if (pointerSize == 8) return RecordLayout{0x38, 0x40, 0x50, 8, 0x58};
  return RecordLayout{0x38, 0x3C, 0x44, 4, 0x48};
}

size_t WalkProcessRecords(const unsigned char* buf, size_t size, uint64_t base,
                          const RecordLayout& layout,
                          const std::function<void(const ProcessRecord&)>& visit) {
  size_t at = 0, count = 0;
  while (at <= size && size - at >= layout.minimumSize) {
    const unsigned char* r = buf + at;
    ProcessRecord rec;
    rec.pid = ReadLE(r + layout.processId, layout.pointerSize);
    size_t length = static_cast<size_t>(ReadLE(r + layout.nameLength, 2)) & ~size_t{1};
    uint64_t name = ReadLE(r + layout.nameBuffer, layout.pointerSize);
    if (length && name >= base && name - base <= size && size - (name - base) >= length) {
      const unsigned char* text = buf + (name - base);
      for (size_t k = 0; k < length; k += 2)
        rec.name.push_back(static_cast<char16_t>(text[k] | (text[k + 1] << 8)));
    }
    visit(rec);
    ++count;
    uint64_t next = ReadLE(r, 4);
    if (next == 0 || next > size - at) break;
    at += static_cast<size_t>(next);
  }
  return count;
}

std::vector<uint64_t> ProcessesToTrim(const unsigned char* buf, size_t size, uint64_t base,
                                      const RecordLayout& layout) {
  std::vector<uint64_t> pids;
  std::set<uint64_t> seen;
  WalkProcessRecords(buf, size, base, layout, [&](const ProcessRecord& r) {
    if (r.pid != 0 && seen.insert(r.pid).second) pids.push_back(r.pid);
  });
  return pids;
}

size_t NextBufferSize(size_t current, size_t asked) {
  if (current >= kMaxBufferSize) return 0;
  // The list can grow between two queries: ask for a little more than said.
  size_t next = std::max(current * 2, asked + asked / 8);
  if (asked > kMaxBufferSize) return 0;
  return std::min(next, kMaxBufferSize);
}

}  // namespace memory
