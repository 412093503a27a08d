#include "job/NumberScan.h"

#include <cstdint>
#include <limits>

namespace job {
namespace {

// The white space of the C locale.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int> ScanNumber(std::string_view text, std::size_t& position) {
  std::size_t at = position;
  while (at < text.size() && IsSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  if (at >= text.size() || !IsDigit(text[at])) return std::nullopt;

  // Counting stops growing just past the range, so it cannot overflow.
  constexpr std::int64_t kBeyondRange = std::int64_t{std::numeric_limits<int>::max()} + 2;
  std::int64_t magnitude = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (magnitude < kBeyondRange) magnitude = magnitude * 10 + (text[at] - '0');
  }
  position = at;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

std::optional<int> ScanNumber(std::string_view text) {
  std::size_t position = 0;
  return ScanNumber(text, position);
}

int ScanVersion(std::string_view text, VersionTriple& version) {
  int* const parts[] = {&version.major, &version.minor, &version.build};
  std::size_t position = 0;
  int read = 0;
  for (int* part : parts) {
    if (read > 0) {
      if (position >= text.size() || text[position] != '.') break;
      ++position;
    }
    const std::optional<int> number = ScanNumber(text, position);
    if (!number) break;
    *part = *number;
    ++read;
  }
  return read;
}

int ReadDecimal(std::string_view text) { return ScanNumber(text).value_or(0); }

}  // namespace job
