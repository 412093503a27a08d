#pragma once

#include <string_view>

namespace job {

// True when `name` names one folder inside its parent and nothing else: not
// empty, not "." or "..", and without "/" or "\". Names from the package
// description must pass this before the job writes or removes anything under
// them, since the host takes either character as a separator.
bool IsSingleFolderName(std::string_view name);

// True when the relative path `path` stays below the folder it is taken
// from: not absolute ("/" or "\" in front) and without a ".." part under
// either separator.
bool StaysBelowCurrentFolder(std::string_view path);

}  // namespace job
