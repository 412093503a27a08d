#include "job/UnpackMonitorFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

constexpr std::size_t kHeaderSize = 25;
constexpr std::size_t kLengthOffset = 21;
constexpr std::size_t kChecksumOffset = 23;

std::uint16_t LittleEndian16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

// True when the path has a ".." part under either separator, so that the
// output path formed from it could leave the destination folder.
bool HasParentComponent(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

int UnpackMonitorFile(platform::Host& host, std::string source, std::string destination) {
  if (HasParentComponent(source)) return 0;

  const std::unique_ptr<platform::InputFile> input = host.OpenForReading(source);
  if (input == nullptr) return 0;

  const std::string outputPath = destination + "\\" + source + ".zip";
  const std::unique_ptr<platform::OutputFile> output = host.CreateFile(outputPath, /*buffered=*/true);
  if (output == nullptr) return 0;

  unsigned char header[kHeaderSize];
  if (input->Read(header, kHeaderSize) != static_cast<std::ptrdiff_t>(kHeaderSize)) return 0;
  const std::uint16_t length = LittleEndian16(header + kLengthOffset);
  const std::uint16_t checksum = LittleEndian16(header + kChecksumOffset);

  // A 16-bit counter, as the length field: it reaches 65535 without wrapping.
  std::uint16_t sum = 0;
  for (std::uint16_t copied = 0; copied < length; ++copied) {
    unsigned char byte;
    if (input->Read(&byte, 1) != 1) return 0;
    std::size_t written = 0;
    if (!output->Write(&byte, 1, written) || written != 1) return 0;
    sum = static_cast<std::uint16_t>(sum + byte);
  }

  // The stream is buffered: a write that fails on the way to the disk shows
  // only when the file is closed.
  if (!output->Close()) return 0;
  return sum == checksum ? 1 : 0;
}
