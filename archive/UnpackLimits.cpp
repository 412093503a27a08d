#include "archive/UnpackLimits.h"

namespace archive_detail {

bool WithinUnpackLimits(unzFile archive) {
  std::uint64_t entries = 0;
  std::uint64_t unpacked = 0;
  for (int at = unzGoToFirstFile(archive); at == UNZ_OK; at = unzGoToNextFile(archive)) {
    unz_file_info info{};
    if (unzGetCurrentFileInfo(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    unpacked += info.uncompressed_size;
    if (++entries > kMaxEntries || unpacked > kMaxUnpackedBytes) return false;
  }
  return true;
}

}  // namespace archive_detail
