#include "job/CurrentDirectory.h"

namespace job {

bool ReadCurrentDirectory(platform::Host& host, std::string& path) {
  std::string directory;
  if (!host.CurrentDirectory(directory)) return false;
  // The directory, its backslash and the terminator.
  if (directory.size() + 2 > kPathBufferSize) return false;
  path = std::move(directory);
  return true;
}

}  // namespace job
