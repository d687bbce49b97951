#pragma once
// What the memory page needs from the system: the memory figures and the
// speed-up. Tests install a fake; the program uses the real one.
#include "memory/MemoryText.h"

namespace memory {

class MemorySystem {
 public:
  virtual ~MemorySystem() = default;
  virtual Figures Read();
  // Trims the working set of every process that can be opened; ends none.
  // Runs on a worker. Returns how many processes were trimmed.
  virtual size_t Optimize();
};

// The system in force: the real one unless a test installed another.
MemorySystem& memorySystem();
// Installs `m` (nullptr restores the real one); returns the previous one.
MemorySystem* SetMemorySystem(MemorySystem* m);

}  // namespace memory
