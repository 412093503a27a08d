// Cleanup: the job's staging folders go, in order, and nothing else.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

namespace fs = std::filesystem;
using job_testing::FolderNames;
using job_testing::PackageFixture;
using Names = std::vector<std::string>;

class JobRemoveStaging : public ::testing::Test {
 protected:
  JobRemoveStaging() {
    for (const char* name : {"A", "B", "Earlier"}) {
      testing_support::WriteFile(fixture.packageFolder() / name / "M" / "deep" / "CAP.xml", "cap");
      testing_support::WriteFile(fixture.packageFolder() / name / "x.lmf.zip", "zip");
    }
    job.m_stagedProfiles = {"A", "B"};
  }

  PackageFixture fixture;
  MonitorFileJob job = fixture.MakeJob();
};

TEST_F(JobRemoveStaging, RemovesTheListedFoldersWithEverythingInThem) {
  EXPECT_EQ(job.RemoveStaging(), 1);
  EXPECT_EQ(FolderNames(fixture.packageFolder()), Names{"Earlier"});
  EXPECT_EQ(job.m_stagedProfiles, (Names{"A", "B"}));
  const std::string cwd = fixture.packageFolder().string();
  Names removed;
  for (const auto& call : fixture.host.calls()) {
    if (call.operation == "RemoveTree") removed.push_back(call.path);
  }
  EXPECT_EQ(removed, (Names{cwd + "\\A", cwd + "\\B"}));
}

TEST_F(JobRemoveStaging, AnEmptyListTouchesNothing) {
  job.m_stagedProfiles.clear();
  EXPECT_EQ(job.RemoveStaging(), 1);
  EXPECT_EQ(FolderNames(fixture.packageFolder()), (Names{"A", "B", "Earlier"}));
}

TEST_F(JobRemoveStaging, AFolderAlreadyGoneFailsAndLaterOnesStay) {
  fs::remove_all(fixture.packageFolder() / "A");
  EXPECT_EQ(job.RemoveStaging(), 0);
  EXPECT_EQ(FolderNames(fixture.packageFolder()), (Names{"B", "Earlier"}));
}

TEST_F(JobRemoveStaging, AFailedRemovalEndsTheStep) {
  fixture.host.FailOperation("RemoveTree", "\\B");
  job.m_stagedProfiles = {"A", "B", "Earlier"};
  EXPECT_EQ(job.RemoveStaging(), 0);
  EXPECT_EQ(FolderNames(fixture.packageFolder()), (Names{"B", "Earlier"}));
}

TEST_F(JobRemoveStaging, ACurrentDirectoryThatCannotBeReadFails) {
  fixture.host.FailOperation("CurrentDirectory");
  EXPECT_EQ(job.RemoveStaging(), 0);
  EXPECT_EQ(FolderNames(fixture.packageFolder()), (Names{"A", "B", "Earlier"}));
}

}  // namespace
