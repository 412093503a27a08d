#pragma once

// Owners of minizip's unzip objects: the open archive and its open entry.

#include <unzip.h>

#include <string>

namespace archive_detail {

// An archive opened by path with minizip's default file functions; closed
// (with an entry still open in it) on destruction.
class ZipArchive {
 public:
  explicit ZipArchive(const std::string& path);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  unzFile handle() const { return handle_; }

 private:
  unzFile handle_;
};

// The archive's current entry, opened for reading without a password.
// Closed on destruction unless closed before or left to the archive.
class OpenZipEntry {
 public:
  // `method` is the entry's compression method: only stored (0) and deflated
  // (8) entries can be read. minizip would hand out other methods it knows
  // by id as raw, still compressed data; those count as not openable.
  OpenZipEntry(unzFile archive, unsigned long method);
  ~OpenZipEntry();
  OpenZipEntry(const OpenZipEntry&) = delete;
  OpenZipEntry& operator=(const OpenZipEntry&) = delete;

  bool IsOpen() const { return open_; }
  // Up to `size` bytes of decompressed data: the count, 0 at the end, or a
  // negative code on an error.
  int Read(void* buffer, unsigned size);
  // Closes the entry; UNZ_CRCERROR when all of it was read and its data do
  // not match the stored checksum.
  int Close();
  // Leaves the entry open: the next entry's opening or the archive's
  // closing closes it.
  void LeaveToArchive() { open_ = false; }

 private:
  unzFile archive_;
  bool open_;
};

}  // namespace archive_detail
