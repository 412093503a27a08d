#include "job/FolderName.h"

namespace job {

bool IsSingleFolderName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\") == std::string_view::npos;
}

bool StaysBelowCurrentFolder(std::string_view path) {
  if (!path.empty() && (path.front() == '/' || path.front() == '\\')) return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace job
