#pragma once

// The document model's string: UTF-8 in libxml2's own allocation, with a
// stored length (which may cover embedded NULs) and a terminating NUL that the
// length does not count. Never null.

#include <cstddef>
#include <string_view>

#include "xml/LibxmlOwnership.h"

class WideString {
 public:
  // Copies all of `utf8`. Throws std::bad_alloc when memory runs out.
  explicit WideString(std::string_view utf8);

  const xmlChar* get() const { return chars_.get(); }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {reinterpret_cast<const char*>(chars_.get()), size_}; }

 private:
  XmlCharsPtr chars_;
  std::size_t size_;
};
