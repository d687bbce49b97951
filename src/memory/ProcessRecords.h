#pragma once
// The system's list of process records (information class 5 of the native
// system query): a chain of records in one buffer, each starting with the
// byte distance to the next one. Read here without the system's headers,
// for either pointer size, and never past the end of the buffer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace memory {

struct ProcessRecord {
  uint64_t pid = 0;
  std::u16string name;  // empty for the idle process
};

// Where the fields lie in a record, for 4- or 8-byte pointers.
struct RecordLayout {
  size_t nameLength;  // 16-bit byte count of the image name
  size_t nameBuffer;  // pointer to the name's UTF-16 text
  size_t processId;   // pointer-sized process id
  size_t pointerSize;
  size_t minimumSize;  // a record shorter than this is not read
};
RecordLayout LayoutFor(size_t pointerSize);

// Calls `visit` for each record in `buf` (of `size` bytes), in order. The
// names' pointers are absolute addresses: `base` is the address of buf[0]
// as the system saw it. The walk ends after the record whose offset is 0,
// or before an offset that leads past the buffer or a record that does not
// fit in it; a name that lies outside the buffer reads as empty. Returns the
// number of records visited.
size_t WalkProcessRecords(const unsigned char* buf, size_t size, uint64_t base,
                          const RecordLayout& layout,
                          const std::function<void(const ProcessRecord&)>& visit);

// The processes a speed-up trims: every one listed except the idle process,
// each once. Nothing is ever ended: a program's unsaved work stays.
std::vector<uint64_t> ProcessesToTrim(const unsigned char* buf, size_t size, uint64_t base,
                                      const RecordLayout& layout);

// The record buffer starts at 32 KB and grows until the list fits, but
// never beyond 64 MB.
constexpr size_t kFirstBufferSize = 32768;
constexpr size_t kMaxBufferSize = size_t{64} << 20;
// The size to try after a buffer of `current` bytes was too small, given
// the size the system asked for (0 when it did not say); 0 means give up.
size_t NextBufferSize(size_t current, size_t asked);

}  // namespace memory
