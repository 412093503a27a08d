#pragma once

#include <string_view>

namespace archive_detail {

// True when an entry name stays below the destination it is joined to: not
// absolute ("/" or "\" in front, or a drive such as "C:") and without a ".."
// part under either separator.
bool StaysInsideDestination(std::string_view name);

}  // namespace archive_detail
