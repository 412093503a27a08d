#include "platform/MessageBox.h"

#include <cstdio>

namespace platform {

// Terminal form only, for now.
void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
  std::fprintf(stderr, "%s: %s\n%s\n", caption.c_str(),
               icon == MessageIcon::kError ? "Error" : "Information", text.c_str());
}

}  // namespace platform
