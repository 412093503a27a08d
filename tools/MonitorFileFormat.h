#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The largest archive a monitor file can hold: its length field has 16 bits.
inline constexpr std::size_t kMaxMonitorFilePayload = 65535;

// Wraps a zip archive into a monitor file: 21 leading bytes (`leading21`,
// padded with zeros or cut to 21), the archive's length and the sum of its
// bytes modulo 65536 (both 16-bit little-endian), then the archive itself.
// Empty when the archive is longer than kMaxMonitorFilePayload bytes.
std::optional<std::string> WrapInMonitorFile(std::string_view zipArchive,
                                             std::string_view leading21 = {});
