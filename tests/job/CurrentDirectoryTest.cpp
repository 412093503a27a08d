// The current directory as the steps read it: never cut short, so one that
// does not fit the path buffer with its backslash fails the step.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "job/CurrentDirectory.h"
#include "job/MonitorFileJob.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CurrentDirectoryScope;
using testing_support::TempFolder;

// A folder below `base` whose absolute path has exactly `length` characters
// (at least two more than the base's).
fs::path FolderWithPathLength(const fs::path& base, std::size_t length) {
  std::string path = base.string();
  while (length - path.size() > 201) path.append("/").append(200, 'd');
  const std::size_t last = length - path.size() - 1;
  path.append("/").append(last, 'e');
  fs::create_directories(path);
  return path;
}

class JobCurrentDirectory : public ::testing::Test {
 protected:
  TempFolder root;
  platform::LinuxHost linuxHost{root.str(), 0};
  platform::TestHost host{linuxHost};
};

TEST_F(JobCurrentDirectory, FitsWithItsBackslashUpTo258Characters) {
  for (const std::size_t length : {std::size_t{258}, std::size_t{259}, std::size_t{300}}) {
    const fs::path folder = FolderWithPathLength(root.path(), length);
    ASSERT_EQ(folder.string().size(), length);
    CurrentDirectoryScope scope(folder);
    std::string path = "unchanged";
    const bool fits = length <= 258;
    EXPECT_EQ(job::ReadCurrentDirectory(host, path), fits) << length;
    EXPECT_EQ(path, fits ? folder.string() : "unchanged") << length;
  }
}

TEST_F(JobCurrentDirectory, FailsWhenTheHostCannotTell) {
  host.FailOperation("CurrentDirectory");
  std::string path;
  EXPECT_FALSE(job::ReadCurrentDirectory(host, path));
}

TEST_F(JobCurrentDirectory, TooLongFailsTheCleanupBeforeAnythingIsRemoved) {
  const fs::path folder = FolderWithPathLength(root.path(), 259);
  CurrentDirectoryScope scope(folder);
  fs::create_directory(folder / "A");
  MonitorFileJob job(host, ".\\LumoraMonitorFileInfo.xml", 1);
  job.m_stagedProfiles = {"A"};
  EXPECT_EQ(job.RemoveStaging(), 0);
  EXPECT_TRUE(fs::is_directory(folder / "A"));
  EXPECT_EQ(host.CountCalls("RemoveTree"), 0u);
}

}  // namespace
