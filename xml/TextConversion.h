#pragma once

// Conversions at the boundary between the system's narrow strings (the
// locale's character set) and the document model's UTF-8 strings, and the
// replacement rule that GetText uses for line ends.

#include <string>

#include "xml/WideString.h"

// Converts the whole narrow string, embedded NULs included. Bytes that are
// invalid in the narrow set become "?".
WideString NarrowToWide(std::string narrow);

// Converts up to the first NUL; null gives "". Characters that the narrow
// set cannot represent become "?".
std::string WideToNarrow(const xmlChar* wide);

// Replaces every occurrence of `find`, left to right, never overlapping and
// never searching inserted text. Returns the number of replacements; an
// empty `find` changes nothing.
int ReplaceAll(std::string& text, const std::string& find, const std::string& replacement);
