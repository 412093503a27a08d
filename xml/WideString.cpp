#include "xml/WideString.h"

#include <climits>
#include <new>

WideString::WideString(std::string_view utf8) : size_(utf8.size()) {
  if (utf8.size() >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
  // xmlStrndup copies the bytes as they are (NULs included) and terminates.
  static const xmlChar kEmpty[] = "";
  const xmlChar* source = utf8.empty() ? kEmpty : reinterpret_cast<const xmlChar*>(utf8.data());
  chars_.reset(xmlStrndup(source, static_cast<int>(utf8.size())));
  if (!chars_) throw std::bad_alloc();
}
