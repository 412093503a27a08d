#include "tests/hostile/CraftedArchives.h"

#include <stdexcept>

namespace hostile_testing {
namespace {

std::size_t NthSignature(const std::string& bytes, const std::string& signature, std::size_t index) {
  std::size_t at = bytes.find(signature);
  for (std::size_t i = 0; i < index && at != std::string::npos; ++i) at = bytes.find(signature, at + 1);
  if (at == std::string::npos) throw std::runtime_error("no such header in the archive");
  return at;
}

void Write16(std::string& bytes, std::size_t at, std::uint32_t value) {
  bytes.at(at) = static_cast<char>(value & 0xFF);
  bytes.at(at + 1) = static_cast<char>((value >> 8) & 0xFF);
}

void Write32(std::string& bytes, std::size_t at, std::uint32_t value) {
  Write16(bytes, at, value & 0xFFFF);
  Write16(bytes, at + 2, value >> 16);
}

std::uint16_t Sum(const std::string& bytes) {
  std::uint16_t sum = 0;
  for (const char byte : bytes) sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(byte));
  return sum;
}

// Field offsets within the two kinds of header.
constexpr std::size_t kLocalChecksum = 14;
constexpr std::size_t kLocalUnpackedSize = 22;
constexpr std::size_t kCentralChecksum = 16;
constexpr std::size_t kCentralUnpackedSize = 24;

}  // namespace

std::size_t LocalHeader(const std::string& archive, std::size_t index) {
  return NthSignature(archive, std::string("PK\x03\x04", 4), index);
}

std::size_t CentralHeader(const std::string& archive, std::size_t index) {
  return NthSignature(archive, std::string("PK\x01\x02", 4), index);
}

void SetDeclaredSize(std::string& archive, std::size_t index, std::uint32_t size) {
  Write32(archive, LocalHeader(archive, index) + kLocalUnpackedSize, size);
  Write32(archive, CentralHeader(archive, index) + kCentralUnpackedSize, size);
}

void BreakEntryChecksum(std::string& archive, std::size_t index) {
  for (const std::size_t at : {LocalHeader(archive, index) + kLocalChecksum,
                               CentralHeader(archive, index) + kCentralChecksum}) {
    archive.at(at) = static_cast<char>(archive.at(at) ^ 0x5A);
  }
}

void BreakSignature(std::string& archive, std::size_t offset) { archive.replace(offset, 4, "XXXX"); }

std::string Container(const std::string& payload, const std::string& following) {
  if (payload.size() > 65535) throw std::runtime_error("payload too large for a monitor file");
  return ContainerWithFields(static_cast<std::uint16_t>(payload.size()), Sum(payload), payload) + following;
}

std::string ContainerWithFields(std::uint16_t length, std::uint16_t checksum, const std::string& payload) {
  std::string file(21, '\0');
  file.resize(25);
  Write16(file, 21, length);
  Write16(file, 23, checksum);
  return file + payload;
}

}  // namespace hostile_testing
