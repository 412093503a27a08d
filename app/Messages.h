#pragma once

// The message boxes of the tool: the incompatible-monitor message after a
// product run and the final message.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Host.h"

namespace app {

// The caption of every message box.
inline constexpr std::string_view kMessageCaption = "Lumora Monitor File";

// `text` with its "%d" placeholders replaced, in order, by the three numbers
// in signed decimal ("%%" gives "%"). Placeholders beyond the third stay.
std::string FormatVersionText(std::string_view text, int major, int minor, int build);

// The incompatible-monitor message: the formatted text, then the names in
// list order joined by ", " and closed by ".".
std::string ComposeIncompatibleMessage(std::string_view text, int major, int minor, int build,
                                       const std::vector<std::string>& names);

// Shows the incompatible-monitor message of text `textId` (106 or 107) with
// the information icon.
void ShowIncompatibleMessage(platform::Host& host, int textId, int major, int minor, int build,
                             const std::vector<std::string>& names);

// Shows the success message (result 0, information icon) or the failure
// message (error icon).
void ShowFinalMessage(platform::Host& host, int result);

}  // namespace app
