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
#include <ostream>
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

// One kept input; shown by its folder and file name only.
struct Input {
  fs::path path;
};

void PrintTo(const Input& input, std::ostream* out) {
  *out << input.path.parent_path().filename().string() << "/" << input.path.filename().string();
}

std::vector<Input> KeptInputs() {
  std::vector<Input> inputs;
  for (const fs::path& path : Inputs()) inputs.push_back({path});
  return inputs;
}

std::string TestName(const testing::TestParamInfo<Input>& info) {
  std::string name = info.param.path.parent_path().filename().string() + "_" + info.param.path.filename().string();
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name + "_" + std::to_string(info.index);
}

class FuzzReplay : public testing::TestWithParam<Input> {};

TEST_P(FuzzReplay, PassesTheTargetChecks) {
  const std::string bytes = testing_support::ReadFile(GetParam().path);
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzReplay, testing::ValuesIn(KeptInputs()), TestName);

}  // namespace
