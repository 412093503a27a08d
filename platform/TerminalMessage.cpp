#include "platform/TerminalMessage.h"

#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/MessageText.h"
#include "platform/TextEncoding.h"

namespace platform {
namespace {

void WriteToStandardError(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // nowhere to show it; the tool goes on
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Reads standard input up to and including the next line feed, or to its end.
void WaitForEnter() {
  char c = 0;
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') return;
  }
}

}  // namespace

void ShowTerminalMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  WriteToStandardError(
      Utf8ToNarrow(TerminalMessageText(NarrowToUtf8(caption), NarrowToUtf8(text), icon)));
  if (isatty(STDIN_FILENO) == 1) {
    WriteToStandardError(Utf8ToNarrow("Press Enter to continue."));
    WaitForEnter();
  }
}

}  // namespace platform
