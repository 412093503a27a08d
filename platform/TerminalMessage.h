#pragma once

#include <string>

#include "platform/Host.h"

namespace platform {

// The terminal form of a message box (see MessageText.h for its text),
// written to standard error in the narrow character set. When standard input
// is a terminal it then waits for Enter; otherwise it returns at once.
void ShowTerminalMessage(const std::string& caption, const std::string& text, MessageIcon icon);

}  // namespace platform
