#include "tools/MonitorFileFormat.h"

#include <cstdint>

namespace {

constexpr std::size_t kLeadingBytes = 21;

void AppendLittleEndian16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

}  // namespace

std::optional<std::string> WrapInMonitorFile(std::string_view zipArchive,
                                             std::string_view leading21) {
  if (zipArchive.size() > kMaxMonitorFilePayload) return std::nullopt;

  std::uint16_t checksum = 0;
  for (const char byte : zipArchive) {
    checksum = static_cast<std::uint16_t>(checksum + static_cast<unsigned char>(byte));
  }

  std::string container(leading21.substr(0, kLeadingBytes));
  container.resize(kLeadingBytes, '\0');
  AppendLittleEndian16(container, static_cast<std::uint16_t>(zipArchive.size()));
  AppendLittleEndian16(container, checksum);
  container.append(zipArchive);
  return container;
}
