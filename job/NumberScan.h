#pragma once

// Lenient reading of numbers in texts, as the C library's formatted scan
// reads "%d": white space skipped, an optional sign, then decimal digits up to
// the first character that is not one. Unlike the C library, a number beyond
// the signed 32-bit range saturates at the range's end instead of being
// undefined.

#include <cstddef>
#include <optional>
#include <string_view>

#include "job/VersionTriple.h"

namespace job {

// Reads one "%d" number from `text` at `position`; on success moves
// `position` past it. Empty when no digit follows the white space and sign.
std::optional<int> ScanNumber(std::string_view text, std::size_t& position);

// "%d" from the start of `text`.
std::optional<int> ScanNumber(std::string_view text);

// Reads "%d.%d.%d" into `version`: each "." must follow its number at once,
// and white space before each number is skipped. The parts that the scan does
// not reach keep their values. Returns how many parts were read.
int ScanVersion(std::string_view text, VersionTriple& version);

// A decimal text to integer conversion as the C library's atoi does it, with
// saturation; 0 when the text does not begin with a number.
int ReadDecimal(std::string_view text);

}  // namespace job
