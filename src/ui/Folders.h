#pragma once
// The user's known folders (profile, Cookies, Desktop, ...) in UTF-8.
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace ui {

// "" when the system does not know the folder.
std::string KnownFolder(REFKNOWNFOLDERID id);

}  // namespace ui
