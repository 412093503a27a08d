#pragma once

// Builds zip archives in memory for test fixtures, with minizip's zip
// interface.

#include <string>
#include <vector>

namespace testing_support {

struct ZipEntry {
  std::string name;
  std::string content;
  // 0 stored, 8 deflated; any other value writes `content` unchanged as the
  // entry's data and records that compression method id.
  int method = 8;
};

// The bytes of an archive holding `entries` in this order.
std::string BuildZip(const std::vector<ZipEntry>& entries);

}  // namespace testing_support
