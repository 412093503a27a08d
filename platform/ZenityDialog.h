#pragma once

#include <string>
#include <vector>

namespace platform {

// True when a desktop session is there to show a dialog on: DISPLAY or
// WAYLAND_DISPLAY is set and not empty.
bool DesktopSessionAvailable();

// Starts zenity from PATH with `arguments` (program name first), without a
// shell, and waits until the dialog has closed. Its own output goes to
// /dev/null, so that nothing but the tool's messages reaches the console.
// False when the dialog could not be shown: zenity could not be started, or
// it ended with a status other than OK (0), closed (1) or timed out (5), as it
// does for its own errors (255) or when the program could not be run (126, 127).
bool RunZenityDialog(const std::vector<std::string>& arguments);

}  // namespace platform
