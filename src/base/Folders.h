#pragma once
// The user's known folders (profile, Cookies, Desktop, ...) and the
// system's drives, in UTF-8.
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

namespace base {

// "" when the system does not know the folder.
std::string KnownFolder(REFKNOWNFOLDERID id);

// The drive roots of the system, "C:\\" and so on.
std::vector<std::string> LogicalDrives();

}  // namespace base
