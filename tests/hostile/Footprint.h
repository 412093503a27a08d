#pragma once

// What a run of the tool may touch: the package folder (its current
// directory) and the profile store. These helpers take the picture of
// everything else before a run and tell, from the calls a TestHost recorded,
// which paths a run wrote to.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/testing/TestHost.h"
#include "tests/job/PackageFixture.h"

namespace hostile_testing {

// The files of a folder, by path relative to it with "/" between levels.
using Files = std::map<std::string, std::string>;

// The tree (as job_testing::ReadTree reads it) of a folder holding these files.
job_testing::Tree TreeOf(const Files& files);

// Every path below `root`, relative with "/" between levels, mapped to
// nothing for a folder, to the content of a regular file (a file above 1 MiB
// by its size only), to "-> target" for a link and to "<special>" for
// anything else, which is never opened. What lies below the folders `allowed`
// is left out, but their own entries stay in the picture, so removing or
// replacing one of them shows.
job_testing::Tree Picture(const std::filesystem::path& root,
                          const std::vector<std::filesystem::path>& allowed = {});

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
