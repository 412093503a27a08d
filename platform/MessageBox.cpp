#include "platform/MessageBox.h"

#include "platform/MessageText.h"
#include "platform/TerminalMessage.h"
#include "platform/TextEncoding.h"
#include "platform/ZenityDialog.h"

namespace platform {

void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
  if (DesktopSessionAvailable() &&
      RunZenityDialog(ZenityArguments(NarrowToUtf8(caption), NarrowToUtf8(text), icon))) {
    return;
  }
  ShowTerminalMessage(caption, text, icon);
}

}  // namespace platform
