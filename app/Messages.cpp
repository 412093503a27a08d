#include "app/Messages.h"

#include "app/StringTable.h"

namespace app {

std::string FormatVersionText(std::string_view text, int major, int minor, int build) {
  const int numbers[] = {major, minor, build};
  std::size_t used = 0;
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 'd' && used < 3) {
        out += std::to_string(numbers[used++]);
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string ComposeIncompatibleMessage(std::string_view text, int major, int minor, int build,
                                       const std::vector<std::string>& names) {
  std::string message = FormatVersionText(text, major, minor, build);
  for (std::size_t i = 0; i < names.size(); ++i) {
    message += names[i];
    message += i + 1 < names.size() ? ", " : ".";
  }
  return message;
}

void ShowIncompatibleMessage(platform::Host& host, int textId, int major, int minor, int build,
                             const std::vector<std::string>& names) {
  host.ShowMessage(std::string(kMessageCaption),
                   ComposeIncompatibleMessage(LoadText(host, textId), major, minor, build, names),
                   platform::MessageIcon::kInformation);
}

void ShowFinalMessage(platform::Host& host, int result) {
  if (result == 0) {
    host.ShowMessage(std::string(kMessageCaption), LoadText(host, kSuccessText),
                     platform::MessageIcon::kInformation);
  } else {
    host.ShowMessage(std::string(kMessageCaption), LoadText(host, kFailureText),
                     platform::MessageIcon::kError);
  }
}

}  // namespace app
