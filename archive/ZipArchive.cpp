#include "archive/ZipArchive.h"

#include "platform/NativePath.h"

namespace archive_detail {

ZipArchive::ZipArchive(const std::string& path)
    : handle_(unzOpen(platform::NativePath(path).c_str())) {}

ZipArchive::~ZipArchive() {
  if (handle_ != nullptr) unzClose(handle_);
}

OpenZipEntry::OpenZipEntry(unzFile archive, unsigned long method)
    : archive_(archive),
      open_((method == 0 || method == Z_DEFLATED) && unzOpenCurrentFile(archive) == UNZ_OK) {}

OpenZipEntry::~OpenZipEntry() {
  if (open_) unzCloseCurrentFile(archive_);
}

int OpenZipEntry::Read(void* buffer, unsigned size) {
  return unzReadCurrentFile(archive_, buffer, size);
}

int OpenZipEntry::Close() {
  if (!open_) return UNZ_OK;
  open_ = false;
  return unzCloseCurrentFile(archive_);
}

}  // namespace archive_detail
