// Writes the binary seed inputs of the fuzz targets: monitor files and zip
// archives made the way the test fixtures make them, so that no binary seed
// needs to be kept in the repository.
//
//   make-fuzz-seeds <corpus folder>
// creates <corpus folder>/monitor-file and <corpus folder>/extract-zip.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace {

namespace fs = std::filesystem;
using testing_support::BuildZip;
using testing_support::ZipEntry;

const char* const kMontype =
    "<?xml version=\"1.0\"?>\n<MonitorType>\n  <ProfileVersion>3</ProfileVersion>\n</MonitorType>\n";
const char* const kCaldef = "<?xml version=\"1.0\"?>\n<CalibrationDefault gamma=\"2.2\"/>\n";

bool Write(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

std::string Wrapped(const std::string& archive) { return WrapInMonitorFile(archive, "LMF fuzz seed").value(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  const std::string model = BuildZip({{"HQ270P/", "", 0},
                                      {"HQ270P/CALDEF.xml", kCaldef},
                                      {"HQ270P/CAP.xml", "<Capabilities/>\n", 0},
                                      {"HQ270P/montype.xml", kMontype}});
  const std::string nested = BuildZip({{"A/", "", 0}, {"A/B/x.xml", "<x/>"}, {"y.xml", "", 0}});
  const std::string filtered =
      BuildZip({{"M/", "", 0}, {"M/CALDEF.xml", kCaldef}, {"M/CAP.xml.bak", "b"}, {"M/cap.xml", "c"}});
  const std::string unsupported = BuildZip({{"M/CAP.xml", "raw data", 12}});
  const std::string climbing = BuildZip({{"M/../../escape.xml", "x", 0}, {"..\\CAP.xml", "y", 0}});
  const std::string empty = BuildZip({});

  std::string badChecksum = Wrapped(model);
  badChecksum[23] = static_cast<char>(badChecksum[23] ^ 0x01);
  const std::string valid = Wrapped(model);

  const std::vector<std::pair<std::string, std::string>> monitorFiles = {
      {"valid.lmf", valid},
      {"bad-checksum.lmf", badChecksum},
      {"short-header.lmf", valid.substr(0, 20)},
      {"cut-payload.lmf", valid.substr(0, valid.size() / 2)},
      {"trailing.lmf", valid + "trailing bytes"},
      {"empty-payload.lmf", Wrapped("")},
  };
  const std::vector<std::pair<std::string, std::string>> archives = {
      {"model.zip", model},           {"model.lmf", valid},       {"nested.zip", nested},
      {"filtered.zip", filtered},     {"unsupported.zip", unsupported},
      {"climbing.zip", climbing},     {"empty.zip", empty},
  };

  bool written = true;
  for (const auto& [folder, files] : {std::pair{"monitor-file", &monitorFiles}, std::pair{"extract-zip", &archives}}) {
    fs::create_directories(corpus / folder);
    for (const auto& [name, bytes] : *files) written = Write(corpus / folder / name, bytes) && written;
  }
  return written ? 0 : 1;
}
