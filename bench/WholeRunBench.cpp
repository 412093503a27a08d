// Whole runs of the tool (the real program, started as a user would, with
// "/q") on generated packages.
//
//   bench-whole-run floor  <program> <work folder> <models> <rounds>
//     The shipping build (10 ms pause after every write) against the floor
//     that the pauses alone set: extraction write calls times 10 ms.
//   bench-whole-run growth <program> <work folder> <rounds> <models>...
//     A build with the pause off, for each package size: the median time
//     and the peak resident set of the run.
//
// Every run starts from the same store (every model installed at an older
// version) and must replace every model and exit with 0.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchPackage.h"
#include "bench/BenchSupport.h"

namespace {

namespace fs = std::filesystem;

struct Measured {
  std::vector<double> seconds;
  long peakRssKiB = 0;
  bool allGood = true;
};

Measured Measure(const std::string& program, const bench::BenchPackage& package, int rounds) {
  Measured measured;
  const std::vector<std::string> environment = {"LUMORA_PRODUCT_RECORDS=" + package.records.string()};
  for (int round = 0; round < rounds; ++round) {
    bench::ResetStore(package);
    const bench::ChildRun run = bench::RunChild({program, "/q"}, package.package, environment);
    measured.seconds.push_back(run.seconds);
    measured.peakRssKiB = std::max(measured.peakRssKiB, run.peakRssKiB);
    if (run.exitStatus != 0 || !bench::AllModelsUpdated(package)) measured.allGood = false;
  }
  return measured;
}

int Floor(const std::string& program, const fs::path& work, std::size_t models, int rounds) {
  const bench::BenchPackage package = bench::MakeBenchPackage(work, models);
  const Measured measured = Measure(program, package, rounds);
  const double median = bench::Median(measured.seconds);
  const double floor = static_cast<double>(package.extractionWrites) * 0.010;
  const double over = (median / floor - 1) * 100;
  std::printf("%zu models: %zu write calls, floor %.3f s | whole run median %.3f s (min %.3f, max %.3f) | "
              "%.1f%% over the floor (target <= 5%%: %s)%s\n",
              models, package.extractionWrites, floor, median,
              *std::min_element(measured.seconds.begin(), measured.seconds.end()),
              *std::max_element(measured.seconds.begin(), measured.seconds.end()), over,
              over <= 5.0 ? "met" : "MISSED", measured.allGood ? "" : "  (A RUN FAILED)");
  return measured.allGood ? 0 : 1;
}

// The sizes take turns within each round, so that a change in the disk's
// speed over the run (other work on the machine) falls on all sizes alike.
int Growth(const std::string& program, const fs::path& work, int rounds, const std::vector<std::size_t>& sizes) {
  std::vector<bench::BenchPackage> packages;
  for (const std::size_t models : sizes) {
    packages.push_back(bench::MakeBenchPackage(work / std::to_string(models), models));
  }
  std::vector<Measured> measured(sizes.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      const Measured one = Measure(program, packages[i], 1);
      measured[i].seconds.push_back(one.seconds.front());
      measured[i].peakRssKiB = std::max(measured[i].peakRssKiB, one.peakRssKiB);
      measured[i].allGood = measured[i].allGood && one.allGood;
    }
  }
  int status = 0;
  std::vector<double> medians;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const double median = bench::Median(measured[i].seconds);
    medians.push_back(median);
    const double rssMiB = static_cast<double>(measured[i].peakRssKiB) / 1024;
    std::printf("%5zu models: median %8.3f s (%.2f ms per model) | peak RSS %.1f MiB (target < 16 MiB: %s)%s\n",
                sizes[i], median, median * 1000 / static_cast<double>(sizes[i]), rssMiB,
                rssMiB < 16 ? "met" : "MISSED", measured[i].allGood ? "" : "  (A RUN FAILED)");
    if (!measured[i].allGood) status = 1;
  }
  for (std::size_t i = 1; i < sizes.size(); ++i) {
    const double growth = medians[i] / medians[i - 1];
    const double allowed = 1.1 * static_cast<double>(sizes[i]) / static_cast<double>(sizes[i - 1]);
    std::printf("%zu models take %.2f times as long as %zu (target <= %.0f: %s)\n", sizes[i], growth,
                sizes[i - 1], allowed, growth <= allowed ? "met" : "MISSED");
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 5 && args[0] == "floor") {
    return Floor(fs::absolute(args[1]), fs::absolute(args[2]), std::stoul(args[3]), std::stoi(args[4]));
  }
  if (args.size() >= 5 && args[0] == "growth") {
    std::vector<std::size_t> sizes;
    for (std::size_t i = 4; i < args.size(); ++i) sizes.push_back(std::stoul(args[i]));
    return Growth(fs::absolute(args[1]), fs::absolute(args[2]), std::stoi(args[3]), sizes);
  }
  std::fprintf(stderr,
               "usage: %s floor <program> <work folder> <models> <rounds>\n"
               "       %s growth <program> <work folder> <rounds> <models>...\n",
               argv[0], argv[0]);
  return 2;
}
