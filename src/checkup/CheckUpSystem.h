#pragma once
// What the check-up page needs from the system: the four folders it walks
// and the probes of the computer profile. Tests install a subclass that
// points the folders at a prepared tree; the program uses the real one.
#include <memory>

#include "checkup/CheckUp.h"
#include "checkup/SystemProfile.h"

namespace checkup {

class CheckUpSystem : public SystemProbe {
 public:
  // Profile, temporary internet files, cookies and history.
  virtual CheckUpFolders Folders();
  // What lists their entries.
  virtual std::unique_ptr<base::DirectoryLister> Lister();

  // The version as the system really is (not as a compatibility shim
  // reports it to older programs).
  VersionFacts Version() override;
  std::string ProcessorName() override;
  uint64_t PhysicalMemoryBytes() override;
  uint64_t VirtualMemoryBytes() override;
  std::vector<DriveFacts> Drives() override;
  // The display service's device in the registry, or else the primary
  // display device.
  std::string VideoAdapter() override;
};

CheckUpSystem& checkUpSystem();
// Installs `s` (nullptr restores the real one); returns the previous one.
CheckUpSystem* SetCheckUpSystem(CheckUpSystem* s);

}  // namespace checkup
