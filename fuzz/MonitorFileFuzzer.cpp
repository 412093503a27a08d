// Fuzz target: the monitor file container. The input is a monitor file;
// UnpackMonitorFile checks it into a staging folder. Its result and the copy
// it leaves are compared with what the container's layout says, and nothing
// may be written outside the staging folder.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/support/Finding.h"
#include "fuzz/support/GuardedHost.h"
#include "fuzz/support/ScratchFolder.h"
#include "job/UnpackMonitorFile.h"
#include "platform/LinuxHost.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using fuzz_support::Finding;

constexpr std::size_t kHeaderSize = 25;

struct Expected {
  int result;
  std::string copy;  // what the staging folder's copy holds afterwards
};

// The container's rules, independently of the code under test.
Expected ExpectedOutcome(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return {0, ""};
  const std::size_t length = data[21] | (data[22] << 8);
  const unsigned checksum = data[23] | (data[24] << 8);
  const std::size_t available = std::min(length, size - kHeaderSize);
  std::string copy(reinterpret_cast<const char*>(data) + kHeaderSize, available);
  if (available < length) return {0, copy};
  unsigned sum = 0;
  for (const unsigned char byte : copy) sum = (sum + byte) & 0xFFFF;
  return {sum == checksum ? 1 : 0, copy};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = fuzz_support::Scratch().path();
  fuzz_support::Scratch().Empty();
  const fs::path package = root / "package";
  fs::create_directories(package / "stage");
  fuzz_support::WriteBytes(package / "monitor.lmf", data, size);
  const testing_support::CurrentDirectoryScope inPackage(package);

  platform::LinuxHost real(root.string(), 0);
  fuzz_support::GuardedHost host(real, {package / "stage"});
  const int result = UnpackMonitorFile(host, "monitor.lmf", "stage");

  const Expected expected = ExpectedOutcome(data, size);
  if (result != expected.result) {
    Finding("UnpackMonitorFile gave " + std::to_string(result) + ", the layout says " +
            std::to_string(expected.result));
  }
  const fs::path copy = package / "stage" / "monitor.lmf.zip";
  if (!fs::is_regular_file(copy)) Finding("no copy of the payload in the staging folder");
  if (testing_support::ReadFile(copy) != expected.copy) Finding("the copy differs from the payload read");

  const std::vector<std::string> expectedTree = {
      "package folder", "package/monitor.lmf file " + std::to_string(size), "package/stage folder",
      "package/stage/monitor.lmf.zip file " + std::to_string(expected.copy.size())};
  if (fuzz_support::ListTree(root) != expectedTree) Finding("files other than the copy were written");
  return 0;
}
