#include "tests/support/ZipBuilder.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace testing_support {
namespace {

// An in-memory file for minizip's zip writer.
struct MemoryFile {
  std::string bytes;
  std::size_t position = 0;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const char*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  auto& file = *static_cast<MemoryFile*>(stream);
  const std::size_t count = std::min<std::size_t>(size, file.bytes.size() - std::min(file.position, file.bytes.size()));
  std::memcpy(buffer, file.bytes.data() + file.position, count);
  file.position += count;
  return static_cast<uLong>(count);
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf stream, const void* buffer, uLong size) {
  auto& file = *static_cast<MemoryFile*>(stream);
  if (file.bytes.size() < file.position + size) file.bytes.resize(file.position + size);
  std::memcpy(file.bytes.data() + file.position, buffer, size);
  file.position += size;
  return size;
}

long ZCALLBACK TellMemory(voidpf, voidpf stream) {
  return static_cast<long>(static_cast<MemoryFile*>(stream)->position);
}

long ZCALLBACK SeekMemory(voidpf, voidpf stream, uLong offset, int origin) {
  auto& file = *static_cast<MemoryFile*>(stream);
  std::size_t base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file.position;
  if (origin == ZLIB_FILEFUNC_SEEK_END) base = file.bytes.size();
  file.position = base + offset;
  return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("BuildZip: ") + what);
}

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::uint16_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                    (static_cast<unsigned char>(bytes.at(at + 1)) << 8));
}

void Write16(std::string& bytes, std::size_t at, int value) {
  bytes.at(at) = static_cast<char>(value & 0xFF);
  bytes.at(at + 1) = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

std::string BuildZip(const std::vector<ZipEntry>& entries) {
  MemoryFile memory;
  zlib_filefunc_def functions{OpenMemory, ReadMemory, WriteMemory, TellMemory,
                              SeekMemory, CloseMemory, ErrorMemory, &memory};
  zipFile zip = zipOpen2("memory", APPEND_STATUS_CREATE, nullptr, &functions);
  Check(zip != nullptr, "zipOpen2");

  std::vector<std::pair<std::size_t, int>> methodsToSet;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const ZipEntry& entry = entries[index];
    zip_fileinfo info{};
    const bool raw = entry.method != 0 && entry.method != Z_DEFLATED;
    const int method = entry.method == Z_DEFLATED ? Z_DEFLATED : 0;
    const int level = method == Z_DEFLATED ? Z_DEFAULT_COMPRESSION : 0;
    Check(zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                               method, level, raw ? 1 : 0) == ZIP_OK,
          "zipOpenNewFileInZip2");
    if (!entry.content.empty()) {
      Check(zipWriteInFileInZip(zip, entry.content.data(),
                                static_cast<unsigned>(entry.content.size())) == ZIP_OK,
            "zipWriteInFileInZip");
    }
    if (raw) {
      const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.content.data()),
                              static_cast<uInt>(entry.content.size()));
      Check(zipCloseFileInZipRaw(zip, entry.content.size(), crc) == ZIP_OK, "zipCloseFileInZipRaw");
      // The zip writer takes only its own methods, so others are written as
      // stored data and marked afterwards.
      methodsToSet.emplace_back(index, entry.method);
    } else {
      Check(zipCloseFileInZip(zip) == ZIP_OK, "zipCloseFileInZip");
    }
  }
  Check(zipClose(zip, nullptr) == ZIP_OK, "zipClose");

  for (const auto& [index, method] : methodsToSet) SetEntryMethod(memory.bytes, index, method);
  return memory.bytes;
}

void SetEntryMethod(std::string& archive, std::size_t index, int method) {
  // The end-of-central-directory record is the last 22 bytes (no comment).
  const std::size_t end = archive.size() - 22;
  if (archive.size() < 22 || Read32(archive, end) != 0x06054b50) {
    throw std::runtime_error("SetEntryMethod: no end-of-central-directory record");
  }
  std::size_t central = Read32(archive, end + 16);
  for (std::size_t i = 0; i < index; ++i) {
    central += 46 + Read16(archive, central + 28) + Read16(archive, central + 30) +
               Read16(archive, central + 32);
  }
  if (Read32(archive, central) != 0x02014b50) {
    throw std::runtime_error("SetEntryMethod: no such entry");
  }
  Write16(archive, central + 10, method);
  Write16(archive, Read32(archive, central + 42) + 8, method);
}

}  // namespace testing_support
