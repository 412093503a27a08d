#pragma once

#include <string>
#include <string_view>

namespace platform {

// Maps a path as the logic forms it to the system's form: every "\" becomes
// "/". This is the only place where separators are translated.
std::string NativePath(std::string_view path);

}  // namespace platform
