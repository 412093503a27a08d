#include "xml/TextConversion.h"

#include <string_view>

#include "platform/TextEncoding.h"

WideString NarrowToWide(std::string narrow) { return WideString(platform::NarrowToUtf8(narrow)); }

std::string WideToNarrow(const xmlChar* wide) {
  if (wide == nullptr) return {};
  const std::string_view utf8(reinterpret_cast<const char*>(wide));  // up to the first NUL
  if (utf8.empty()) return {};
  return platform::Utf8ToNarrow(utf8);
}

int ReplaceAll(std::string& text, const std::string& find, const std::string& replacement) {
  if (find.empty()) return 0;
  int count = 0;
  for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, at + find.size())) {
    ++count;
  }
  if (count == 0) return 0;

  std::string result;
  const std::size_t occurrences = static_cast<std::size_t>(count);
  result.reserve(text.size() - find.size() * occurrences + replacement.size() * occurrences);
  std::size_t from = 0;
  for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find, from)) {
    result.append(text, from, at - from);
    result.append(replacement);
    from = at + find.size();
  }
  result.append(text, from, std::string::npos);
  text = std::move(result);
  return count;
}
