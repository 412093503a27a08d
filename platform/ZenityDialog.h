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
// False when the dialog could not be shown: zenity could not be started, or it
// ended with a status other than 0, which it gives for every way of closing
// the dialog in the environment it is started with.
bool RunZenityDialog(const std::vector<std::string>& arguments);

}  // namespace platform
