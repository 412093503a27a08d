#pragma once

// Builds zip archives in memory for test fixtures, with minizip's zip
// interface.

#include <cstddef>
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

// Records `method` as the compression method of the entry at `index` (in
// archive order), in its local and its central header. With a method of 0,
// this turns crafted data written as stored into, say, a deflate stream.
void SetEntryMethod(std::string& archive, std::size_t index, int method);

}  // namespace testing_support
