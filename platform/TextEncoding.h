#pragma once

// Conversion between the narrow character set of the process locale and the
// UTF-8 of the XML library and of the program's own texts. The converters are
// process-wide, like the locale they follow: OpenTextConverters() sets them up
// at start-up. Until then, and whenever the locale's set is UTF-8, narrow
// text is UTF-8 and the conversions are exact copies.

#include <string>
#include <string_view>

namespace platform {

// Sets the locale from the environment and opens both converters. False when
// a converter cannot be opened.
bool OpenTextConverters();

// Opens the converters for a named character set without touching the
// locale (the C/POSIX names and "" mean UTF-8). Used by OpenTextConverters
// and by tests that need another narrow set.
bool OpenTextConvertersFor(const std::string& characterSet);

// The locale's character set name as the converters use it ("UTF-8" for the
// C/POSIX locale and a locale that cannot be set).
std::string NarrowCharacterSet();

// Characters that the target set cannot represent become "?". Invalid input
// bytes become "?" as well.
std::string NarrowToUtf8(std::string_view narrow);
std::string Utf8ToNarrow(std::string_view utf8);

}  // namespace platform
