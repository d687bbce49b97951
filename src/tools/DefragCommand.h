#pragma once
// How the system's own disk defragmenter is started for a drive.
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// The root strings of a NUL-separated drive list ("A:\\", "C:\\", ...), ended
// by an empty string or by the end of the text; no limit on their number.
std::vector<std::string> SplitDriveList(std::string_view list);

// "C:" for a list entry such as "C:\\"; empty when the entry is not a drive.
std::string DefragDrive(std::string_view entry);

// The defragmenter of the running system. A 32-bit program on 64-bit
// Windows sees SysWOW64 under System32; Sysnative leads to the real one.
std::string DefragProgram(std::string_view windowsDir, bool wow64);

}  // namespace tools
