#pragma once

// Small helpers shared by the benchmark programs: a wall clock, medians, a
// child process run to its end with its resource use, and fresh folders.

#include <sys/resource.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// The parts joined into one string.
std::string Join(std::initializer_list<std::string_view> parts);

// Seconds on a monotonic clock.
double Now();

double Median(std::vector<double> values);

struct ChildRun {
  int exitStatus = -1;    // -1 when the child did not exit normally
  double seconds = 0;     // wall time from spawn to exit
  long peakRssKiB = 0;    // the child's own peak resident set
};

// Runs `argv` in `folder` with `environment` added to this process's, and
// waits for it. Standard output and error go to /dev/null.
ChildRun RunChild(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                  const std::vector<std::string>& environment = {});

// Removes `folder` with everything in it (if present) and creates it anew.
void FreshFolder(const std::filesystem::path& folder);

// A pseudo-random text of `size` bytes that compresses about as well as
// profile XML does; the same `seed` gives the same text.
std::string ProfileLikeText(std::size_t size, unsigned seed);

}  // namespace bench
