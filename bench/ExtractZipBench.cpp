// ExtractZip against Debian's `unzip -qo` on the same archives, into the same
// kind of folder, side by side in one run: several rounds of each, in
// alternating order, and the medians with their ratio.
//
//   bench-extract-zip <work folder> <rounds>
//
// ExtractZip runs in this process on the Linux host with the write pause
// replaced by nothing; unzip runs as a child process, so its figure includes
// starting a process (shown separately as the cost of starting /bin/true).

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "archive/ExtractZip.h"
#include "bench/BenchSupport.h"
#include "platform/LinuxHost.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ZipEntry;

// The Linux host with the write pause replaced by nothing.
class NoPauseHost : public platform::LinuxHost {
 public:
  using platform::LinuxHost::LinuxHost;
  void WritePause() override {}
};

struct Shape {
  std::string name;
  std::vector<ZipEntry> entries;
};

std::vector<Shape> Shapes() {
  Shape small{"200 entries of 2 KB", {}};
  for (int i = 0; i < 200; ++i) {
    const std::string folder = bench::Join({"M", std::to_string(i / 10)});
    if (i % 10 == 0) small.entries.push_back({folder + "/", "", 0});
    small.entries.push_back(
        {bench::Join({folder, "/file", std::to_string(i), ".xml"}), bench::ProfileLikeText(2048, i)});
  }
  Shape large{"4 deflated entries of 1 MB", {}};
  for (int i = 0; i < 4; ++i) {
    large.entries.push_back({bench::Join({"big", std::to_string(i), ".xml"}), bench::ProfileLikeText(1 << 20, 100 + i)});
  }
  return {small, large};
}

std::map<std::string, std::string> Contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    files[fs::relative(entry.path(), folder).string()] =
        entry.is_directory() ? "/" : testing_support::ReadFile(entry.path());
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <work folder> <rounds>\n", argv[0]);
    return 2;
  }
  const fs::path work = fs::absolute(argv[1]);
  const int rounds = std::stoi(argv[2]);
  bench::FreshFolder(work);
  NoPauseHost host(work.string(), 0);

  std::vector<double> spawn;
  for (int i = 0; i < rounds; ++i) spawn.push_back(bench::RunChild({"/bin/true"}, work).seconds);
  std::printf("starting a process (/bin/true): median %.2f ms\n", bench::Median(spawn) * 1000);

  int status = 0;
  for (const Shape& shape : Shapes()) {
    const fs::path archive = work / "archive.zip";
    testing_support::WriteFile(archive, testing_support::BuildZip(shape.entries));
    const fs::path ours = work / "extract-zip";
    const fs::path theirs = work / "unzip";

    std::vector<double> extractTimes;
    std::vector<double> unzipTimes;
    for (int round = 0; round < rounds; ++round) {
      for (int turn = 0; turn < 2; ++turn) {
        if ((round + turn) % 2 == 0) {
          bench::FreshFolder(ours);
          const double start = bench::Now();
          const int result = ExtractZip(host, archive.string(), ours.string() + "\\", false);
          extractTimes.push_back(bench::Now() - start);
          if (result != 0) status = 1;
        } else {
          bench::FreshFolder(theirs);
          const bench::ChildRun run =
              bench::RunChild({"/usr/bin/unzip", "-qo", archive.string(), "-d", theirs.string()}, work);
          unzipTimes.push_back(run.seconds);
          if (run.exitStatus != 0) status = 1;
        }
      }
    }
    const bool same = Contents(ours) == Contents(theirs);
    if (!same) status = 1;
    const double extractMs = bench::Median(extractTimes) * 1000;
    const double unzipMs = bench::Median(unzipTimes) * 1000;
    const double ratio = extractMs / unzipMs;
    std::printf("%-28s ExtractZip median %8.2f ms | unzip -qo median %8.2f ms | ratio %.2f (target <= 1.0: %s)%s\n",
                shape.name.c_str(), extractMs, unzipMs, ratio, ratio <= 1.0 ? "met" : "MISSED",
                same ? "" : "  (OUTPUTS DIFFER)");
  }
  fs::remove_all(work);
  return status;
}
