#pragma once

#include <string>

#include "platform/Host.h"

namespace job {

// The steps read the current directory into a path buffer of this many
// characters, terminator included, and append a backslash within it.
inline constexpr std::size_t kPathBufferSize = 260;

// The current directory, absolute and without a trailing separator. False
// when the host cannot tell it, or when it and the backslash that the steps
// append would not fit the path buffer: such a directory is never cut short.
bool ReadCurrentDirectory(platform::Host& host, std::string& path);

}  // namespace job
