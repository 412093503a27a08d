#pragma once

// The pure parts of showing a message box: the text of the terminal form and
// the argument list of the desktop dialog. Both take and give UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Host.h"

namespace platform {

// "Information" or "Error".
std::string_view IconKindName(MessageIcon icon);

// The terminal form: the caption and the icon kind on one line, then the
// text, ending with a line feed. Each CR LF becomes one line feed. Control
// characters other than line feed and tab are written in caret notation, as
// `cat -v` does: C0 controls as "^@" to "^_" (ESC is "^[", a lone CR "^M"),
// DEL as "^?", and the C1 controls U+0080 to U+009F as "M-^@" to "M-^_".
// Bytes that are not valid UTF-8 become "?".
std::string TerminalMessageText(std::string_view caption, std::string_view text, MessageIcon icon);

// The argument list of the zenity dialog, program name first. The text is one
// argument with markup off; CR LF pairs become line feeds, and bytes that are
// not valid UTF-8 (the dialog shows UTF-8 only) and NUL become "?".
std::vector<std::string> ZenityArguments(std::string_view caption, std::string_view text,
                                         MessageIcon icon);

}  // namespace platform
