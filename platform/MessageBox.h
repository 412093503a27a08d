#pragma once

#include <string>

#include "platform/Host.h"

namespace platform {

// Shows a modal message box: a desktop dialog where one can be shown, else
// the terminal form on standard error.
void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);

}  // namespace platform
