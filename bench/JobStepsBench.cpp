// Where a whole run's time goes: the five job steps of one main-product run,
// timed one by one in this process on the Linux host with the pause off, for
// each package size.
//
//   bench-job-steps <work folder> <rounds> <models>...

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchPackage.h"
#include "bench/BenchSupport.h"
#include "job/MonitorFileJob.h"
#include "platform/LinuxHost.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const char* const kSteps[] = {"ReadPackageInfo", "StageProfiles", "SelectProfiles", "InstallProfiles",
                              "RemoveStaging"};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <work folder> <rounds> <models>...\n", argv[0]);
    return 2;
  }
  const fs::path work = fs::absolute(argv[1]);
  const int rounds = std::stoi(argv[2]);
  int status = 0;
  for (int arg = 3; arg < argc; ++arg) {
    const std::size_t models = std::stoul(argv[arg]);
    const bench::BenchPackage package = bench::MakeBenchPackage(work / std::to_string(models), models);
    std::vector<std::vector<double>> times(5);
    for (int round = 0; round < rounds; ++round) {
      bench::ResetStore(package);
      const testing_support::CurrentDirectoryScope inPackage(package.package);
      platform::LinuxHost host(package.records.string(), 0);
      MonitorFileJob job(host, ".\\LumoraMonitorFileInfo.xml", 1);
      int (MonitorFileJob::*steps[])() = {&MonitorFileJob::ReadPackageInfo, &MonitorFileJob::StageProfiles,
                                          &MonitorFileJob::SelectProfiles, &MonitorFileJob::InstallProfiles,
                                          &MonitorFileJob::RemoveStaging};
      for (std::size_t step = 0; step < 5; ++step) {
        const double start = bench::Now();
        if ((job.*steps[step])() == 0) status = 1;
        times[step].push_back(bench::Now() - start);
      }
    }
    std::printf("%5zu models:", models);
    for (std::size_t step = 0; step < 5; ++step) {
      std::printf(" %s %.1f ms (%.3f/model)%s", kSteps[step], bench::Median(times[step]) * 1000,
                  bench::Median(times[step]) * 1000 / static_cast<double>(models), step < 4 ? " |" : "\n");
    }
  }
  return status;
}
