#pragma once

// What a run of the tool may touch: the package folder (its current
// directory) and the profile store. These helpers take the picture of
// everything else before a run and tell, from the calls a TestHost recorded,
// which paths a run wrote to.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing/TestHost.h"
#include "tests/job/PackageFixture.h"

namespace hostile_testing {

// Every path below `root` with its content, leaving out what lies below the
// folders `allowed` (their own entries stay in the picture, so removing or
// replacing one of them shows).
job_testing::Tree TreeOutside(const std::filesystem::path& root,
                              const std::vector<std::filesystem::path>& allowed);

// The path a host call acts on, as an absolute normal path: "\" counts as a
// separator, as the host takes it, and a relative path is taken from
// `currentDirectory`.
std::filesystem::path OnDisk(const std::string& hostPath, const std::filesystem::path& currentDirectory);

// True when `path` lies strictly below `folder` (both absolute and normal; a
// trailing separator does not count).
bool IsBelow(const std::filesystem::path& path, const std::filesystem::path& folder);
// True when `path` is `folder` itself, trailing separators aside.
bool IsSame(const std::filesystem::path& path, const std::filesystem::path& folder);

// The paths that a recorded call creates, changes or removes; empty for
// calls that only read.
std::vector<std::string> WrittenPaths(const platform::TestHost::Call& call);

}  // namespace hostile_testing
