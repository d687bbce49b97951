#include "tools/DefragCommand.h"

namespace tools {

std::vector<std::string> SplitDriveList(std::string_view list) {
  std::vector<std::string> roots;
  while (!list.empty()) {
    std::size_t end = list.find('\0');
    std::string_view root = list.substr(0, end);
    if (root.empty()) break;
    roots.emplace_back(root);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return roots;
}

std::string DefragDrive(std::string_view entry) {
  if (entry.size() < 2 || entry[1] != ':') return {};
  char letter = entry[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return {};
  return std::string{letter, ':'};
}

std::string DefragProgram(std::string_view windowsDir, bool wow64) {
  std::string path(windowsDir);
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += wow64 ? "Sysnative" : "System32";
  path += "\\defrag.exe";
  return path;
}

}  // namespace tools
