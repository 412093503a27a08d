// Fuzz target: zip extraction. The input is the archive file (bare or behind
// a monitor file header); ExtractZip unpacks it into a fresh staging folder,
// once with the filter off and once with it on, with the write pause off.
// Nothing may be created outside the destination, and with the filter on
// every file written must have "CALDEF.xml" or "CAP.xml" in its path.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "archive/ExtractZip.h"
#include "fuzz/support/Finding.h"
#include "fuzz/support/GuardedHost.h"
#include "fuzz/support/ScratchFolder.h"
#include "platform/LinuxHost.h"

namespace {

namespace fs = std::filesystem;
using fuzz_support::Finding;

// The destination lies a few levels down, so that an entry climbing out of
// it lands somewhere the listing sees.
const char* const kDestination = "outer/middle/inner/stage";

bool IsAllowed(const std::string& line) {
  const std::string name = line.substr(0, line.find(' '));
  return name == "archive.lmf" || name == "outer" || name == "outer/middle" || name == "outer/middle/inner" ||
         name.rfind(std::string(kDestination), 0) == 0;
}

void CheckFilteredFiles(const fs::path& destination) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(destination)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), destination).generic_string();
    if (relative.find("CALDEF.xml") == std::string::npos && relative.find("CAP.xml") == std::string::npos) {
      Finding("the filter let through " + relative);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = fuzz_support::Scratch().path();
  fuzz_support::Scratch().Empty();
  const fs::path archive = root / "archive.lmf";
  fuzz_support::WriteBytes(archive, data, size);
  platform::LinuxHost real(root.string(), 0);

  for (const bool filter : {false, true}) {
    const fs::path destination = root / kDestination;
    fs::create_directories(destination);
    fuzz_support::GuardedHost host(real, {destination});
    // As profile staging passes it: absolute, with a closing backslash.
    ExtractZip(host, archive.string(), destination.string() + "\\", filter);

    for (const std::string& line : fuzz_support::ListTree(root)) {
      if (!IsAllowed(line)) Finding("written outside the destination: " + line);
    }
    if (filter) CheckFilteredFiles(destination);
    fs::remove_all(root / "outer");
  }
  return 0;
}
