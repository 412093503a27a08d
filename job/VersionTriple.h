#pragma once

// A product version as three signed numbers, ordered on (major, minor, build).

#include <compare>
#include <limits>

namespace job {

struct VersionTriple {
  int major = 0;
  int minor = 0;
  int build = 0;

  friend auto operator<=>(const VersionTriple&, const VersionTriple&) = default;
};

inline constexpr int kLargestNumber = std::numeric_limits<int>::max();
inline constexpr VersionTriple kLowestVersion{0, 0, 0};
inline constexpr VersionTriple kHighestVersion{kLargestNumber, kLargestNumber, kLargestNumber};

}  // namespace job
