// Replays the inputs kept for one fuzz target (its regression inputs and its
// seeds) through the target's own checks, in the ordinary test builds, so
// that a fixed finding stays fixed without a fuzzing run. A broken check
// aborts the test program, which fails the test case of that input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The regression inputs (kept in the repository) and the seeds (made by the
// build), as the build names their folders.
std::vector<fs::path> Inputs() {
  std::vector<fs::path> inputs;
  for (const fs::path folder : {LMFS_REGRESSION_FOLDER, LMFS_SEED_FOLDER}) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

std::string TestName(const testing::TestParamInfo<fs::path>& info) {
  std::string name = info.param.parent_path().filename().string() + "_" + info.param.filename().string();
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name + "_" + std::to_string(info.index);
}

class FuzzReplay : public testing::TestWithParam<fs::path> {};

TEST_P(FuzzReplay, PassesTheTargetChecks) {
  const std::string bytes = testing_support::ReadFile(GetParam());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzReplay, testing::ValuesIn(Inputs()), TestName);

}  // namespace
