// wrap-monitor-file: wraps a zip archive into a monitor file for a package.
//
//   wrap-monitor-file [--header-text TEXT | --header-hex HEX] ARCHIVE.zip OUTPUT
//
// The monitor file holds 21 leading bytes (zeros unless given), the archive's
// length and checksum, then the archive.

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/MonitorFileFormat.h"

namespace {

constexpr std::size_t kLeadingBytes = 21;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

void PrintUsage(std::ostream& out) {
  out << "Usage: wrap-monitor-file [--header-text TEXT | --header-hex HEX] ARCHIVE.zip OUTPUT\n"
         "\n"
         "Wraps the zip archive ARCHIVE.zip into the monitor file OUTPUT: 21 leading\n"
         "bytes, the archive's length and checksum (16-bit, little-endian), then the\n"
         "archive unchanged. The archive may hold at most 65535 bytes.\n"
         "\n"
         "Options:\n"
         "  --header-text TEXT  the leading bytes as text, at most 21 bytes, padded with zeros\n"
         "  --header-hex HEX    the leading bytes as hexadecimal digits (at most 42 digits,\n"
         "                      an even count), padded with zeros\n"
         "  --help              show this text\n"
         "\n"
         "Without a header option the leading bytes are zeros.\n";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> DecodeHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return content.str();
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  return !out.fail();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  std::optional<std::string> header;

  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      PrintUsage(std::cout);
      return 0;
    }
    if (argument == "--header-text" || argument == "--header-hex") {
      if (header.has_value()) {
        std::cerr << "wrap-monitor-file: give the header only once\n";
        return kUsageError;
      }
      if (i + 1 >= argc) {
        std::cerr << "wrap-monitor-file: " << argument << " needs a value\n";
        return kUsageError;
      }
      const std::string value = argv[++i];
      if (argument == "--header-hex") {
        header = DecodeHex(value);
        if (!header.has_value()) {
          std::cerr << "wrap-monitor-file: --header-hex needs pairs of hexadecimal digits\n";
          return kUsageError;
        }
      } else {
        header = value;
      }
      if (header->size() > kLeadingBytes) {
        std::cerr << "wrap-monitor-file: the header holds at most 21 bytes, " << header->size()
                  << " given\n";
        return kUsageError;
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-' && argument != "--") {
      std::cerr << "wrap-monitor-file: unknown option " << argument << "\n";
      PrintUsage(std::cerr);
      return kUsageError;
    }
    if (argument == "--") {
      for (++i; i < argc; ++i) positional.emplace_back(argv[i]);
      break;
    }
    positional.push_back(argument);
  }

  if (positional.size() != 2) {
    PrintUsage(std::cerr);
    return kUsageError;
  }
  const std::string& archivePath = positional[0];
  const std::string& outputPath = positional[1];

  const std::optional<std::string> archive = ReadWholeFile(archivePath);
  if (!archive.has_value()) {
    std::cerr << "wrap-monitor-file: cannot read " << archivePath << "\n";
    return kFailure;
  }
  const std::optional<std::string> container = WrapInMonitorFile(*archive, header.value_or(""));
  if (!container.has_value()) {
    std::cerr << "wrap-monitor-file: " << archivePath << " holds " << archive->size()
              << " bytes, but a monitor file holds at most " << kMaxMonitorFilePayload
              << " bytes of archive\n";
    return kFailure;
  }
  if (!WriteWholeFile(outputPath, *container)) {
    std::cerr << "wrap-monitor-file: cannot write " << outputPath << "\n";
    return kFailure;
  }
  return 0;
}
