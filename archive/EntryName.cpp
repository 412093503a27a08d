#include "archive/EntryName.h"

namespace archive_detail {

bool StaysInsideDestination(std::string_view name) {
  if (!name.empty() && (name.front() == '/' || name.front() == '\\')) return false;
  const bool driveLetter = name.size() >= 2 && name[1] == ':' &&
                           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (driveLetter) return false;

  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace archive_detail
