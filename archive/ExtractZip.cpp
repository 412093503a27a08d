#include "archive/ExtractZip.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "archive/CreateFolderPath.h"
#include "archive/EntryName.h"
#include "archive/UnpackLimits.h"
#include "archive/ZipArchive.h"

namespace {

using archive_detail::OpenZipEntry;
using archive_detail::ZipArchive;

// Entry names of up to 259 bytes fit, with their terminating NUL.
constexpr std::size_t kNameBufferSize = 260;
constexpr unsigned kCopyBufferSize = 1024;

bool PassesFilter(const std::string& outputPath) {
  return outputPath.find("CALDEF.xml") != std::string::npos ||
         outputPath.find("CAP.xml") != std::string::npos;
}

struct EntryCopy {
  bool created = false;
  bool writeFailed = false;
  bool readFailed = false;
};

// Writes all `size` bytes, resuming after a partial write, with the pause
// after each successful write call. False when a write call fails; the rest
// of the chunk is then dropped.
bool WriteChunk(platform::Host& host, platform::OutputFile& file, const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    std::size_t written = 0;
    // A call that writes nothing would never finish the chunk.
    if (!file.Write(data + done, size - done, written) || written == 0) return false;
    host.WritePause();
    done += std::min(written, size - done);
  }
  return true;
}

// Copies the open entry's data into a new file at `outputPath`. A read error
// ends the copy; the bytes written so far stay.
EntryCopy CopyEntryToFile(platform::Host& host, OpenZipEntry& entry, const std::string& outputPath) {
  EntryCopy copy;
  const std::unique_ptr<platform::OutputFile> file = host.CreateFile(outputPath, /*buffered=*/false);
  if (file == nullptr) return copy;
  copy.created = true;

  char buffer[kCopyBufferSize];
  for (int count = entry.Read(buffer, kCopyBufferSize); count != 0;
       count = entry.Read(buffer, kCopyBufferSize)) {
    if (count < 0) {
      copy.readFailed = true;
      break;
    }
    if (!WriteChunk(host, *file, buffer, static_cast<std::size_t>(count))) copy.writeFailed = true;
  }
  if (!file->Close()) copy.writeFailed = true;
  return copy;
}

}  // namespace

int ExtractZip(platform::Host& host, std::string archivePath, std::string destination, bool filter) {
  int result = 0;

  ZipArchive archive(archivePath);
  if (!archive.IsOpen()) return -1;
  if (unzGoToFirstFile(archive.handle()) != UNZ_OK) return 0;
  // An archive that would unpack beyond the bounds gets nothing written.
  if (!archive_detail::WithinUnpackLimits(archive.handle())) return -1;
  unzGoToFirstFile(archive.handle());

  for (;;) {
    unz_file_info info{};
    char nameBuffer[kNameBufferSize] = {};
    unzGetCurrentFileInfo(archive.handle(), &info, nameBuffer, kNameBufferSize, nullptr, 0, nullptr, 0);
    // A name that fills the buffer has no NUL; never read past the buffer.
    const std::string name(nameBuffer, strnlen(nameBuffer, kNameBufferSize));
    const std::string outputPath = destination + "/" + name;
    const std::string tail = outputPath.substr(outputPath.rfind('/') + 1);

    // Opened before the filter test: an entry that cannot be opened ends the
    // extraction even when the filter would skip it.
    OpenZipEntry entry(archive.handle(), info.compression_method);
    if (!entry.IsOpen()) {
      result = -1;
      break;
    }
    // A name cut short by the buffer can neither be filtered nor placed.
    if (info.size_filename >= kNameBufferSize) {
      result = -1;
      break;
    }

    if (filter && !PassesFilter(outputPath)) {
      entry.LeaveToArchive();
    } else {
      // Nothing is created for a name that would lead outside the destination.
      if (!archive_detail::StaysInsideDestination(name)) {
        result = -1;
        break;
      }
      CreateFolderPath(host, outputPath, "");
      if (!tail.empty()) {
        const EntryCopy copy = CopyEntryToFile(host, entry, outputPath);
        if (!copy.created || copy.readFailed) {
          result = -1;
          break;
        }
        if (copy.writeFailed) result = -1;
        // The whole entry was read, so its checksum has been compared.
        if (entry.Close() == UNZ_CRCERROR) {
          result = -1;
          break;
        }
      }
      entry.Close();
    }

    const int next = unzGoToNextFile(archive.handle());
    if (next == UNZ_END_OF_LIST_OF_FILE) break;
    if (next != UNZ_OK) {
      result = -1;
      break;
    }
  }
  return result;
}
