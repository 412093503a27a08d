#include "job/FolderName.h"

namespace job {

bool IsSingleFolderName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace job
