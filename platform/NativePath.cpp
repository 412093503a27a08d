#include "platform/NativePath.h"

#include <algorithm>

namespace platform {

std::string NativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace platform
