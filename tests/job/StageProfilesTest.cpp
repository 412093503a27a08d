// Staging: each profile's monitor file checked, copied and unpacked into its
// staging folder, in document order, filtered for the second product.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/job/PackageFixture.h"
#include "tests/support/ZipBuilder.h"

namespace {

namespace fs = std::filesystem;
using job_testing::PackageFixture;
using job_testing::ReadTree;
using job_testing::Tree;
using testing_support::ReadFile;
using testing_support::ZipEntry;

const std::vector<ZipEntry> kEntries = {
    {"M1/CALDEF.xml", "caldef"}, {"M1/data.xml", "data"}, {"M2/CAP.xml", "cap", 0}};

class JobStageProfiles : public ::testing::Test {
 protected:
  // Profiles A and B, each with its own monitor file, their folders made.
  void WriteTwoProfiles() {
    fixture.WriteDescription(R"(<profile name="A" src="a.lmf"/><profile name="B" src="b.lmf"/>)");
    fixture.WriteMonitorFile("a.lmf", kEntries);
    fixture.WriteMonitorFile("b.lmf", kEntries);
  }
  // The staging folder's tree without the copy of the archive.
  Tree Unpacked(const std::string& profile, const std::string& src) {
    Tree tree = ReadTree(fixture.packageFolder() / profile);
    EXPECT_EQ(tree.erase(src + ".zip"), 1u) << profile;
    return tree;
  }
  int Stage(int mainProduct) {
    MonitorFileJob job = fixture.MakeJob(mainProduct);
    if (job.ReadPackageInfo() == 0) return -1;
    return job.StageProfiles();
  }

  PackageFixture fixture;
};

TEST_F(JobStageProfiles, TheMainProductTakesEveryEntry) {
  WriteTwoProfiles();
  EXPECT_EQ(Stage(1), 1);
  const Tree all = {{"M1", std::nullopt}, {"M1/CALDEF.xml", "caldef"}, {"M1/data.xml", "data"},
                    {"M2", std::nullopt}, {"M2/CAP.xml", "cap"}};
  EXPECT_EQ(Unpacked("A", "a.lmf"), all);
  EXPECT_EQ(Unpacked("B", "b.lmf"), all);
  // The copy holds the archive, without the container's header.
  EXPECT_EQ(ReadFile(fixture.packageFolder() / "A" / "a.lmf.zip"), testing_support::BuildZip(kEntries));
}

TEST_F(JobStageProfiles, TheSecondProductTakesOnlyCalibrationAndCapabilities) {
  WriteTwoProfiles();
  EXPECT_EQ(Stage(0), 1);
  const Tree filtered = {{"M1", std::nullopt}, {"M1/CALDEF.xml", "caldef"}, {"M2", std::nullopt},
                         {"M2/CAP.xml", "cap"}};
  EXPECT_EQ(Unpacked("A", "a.lmf"), filtered);
  EXPECT_EQ(Unpacked("B", "b.lmf"), filtered);
}

TEST_F(JobStageProfiles, FindsTheProfilesAgainInTheDescription) {
  WriteTwoProfiles();
  // The folders exist, but this job created none and has no staged list.
  fs::create_directory(fixture.packageFolder() / "A");
  fs::create_directory(fixture.packageFolder() / "B");
  MonitorFileJob job = fixture.MakeJob();
  EXPECT_EQ(job.StageProfiles(), 1);
  EXPECT_TRUE(fs::exists(fixture.packageFolder() / "B" / "M2" / "CAP.xml"));
  // Document order, one profile after the other: the copy of A's archive,
  // A's entries below "<current directory>\A\", then B's.
  std::vector<std::string> created;
  for (const auto& call : fixture.host.calls()) {
    if (call.operation == "CreateFile") created.push_back(call.path);
  }
  const std::string cwd = fixture.packageFolder().string();
  EXPECT_EQ(created, (std::vector<std::string>{
                         "A\\a.lmf.zip", cwd + "\\A\\/M1/CALDEF.xml", cwd + "\\A\\/M1/data.xml",
                         cwd + "\\A\\/M2/CAP.xml", "B\\b.lmf.zip", cwd + "\\B\\/M1/CALDEF.xml",
                         cwd + "\\B\\/M1/data.xml", cwd + "\\B\\/M2/CAP.xml"}));
}

TEST_F(JobStageProfiles, NoProfileStagesNothingAndSucceeds) {
  fixture.WriteDescription(R"(<model name="M1" profile="A"/>)");
  EXPECT_EQ(Stage(1), 1);
  EXPECT_EQ(fixture.host.CountCalls("CreateFile"), 0u);
}

TEST_F(JobStageProfiles, AMissingDescriptionFails) {
  MonitorFileJob job = fixture.MakeJob();
  EXPECT_EQ(job.StageProfiles(), 0);
}

struct FailureCase {
  const char* what;
  std::string secondProfile;  // B's element
  bool writeMonitorFile;
};

// The first profile is staged in full; the second fails, with nothing of it
// unpacked.
TEST_F(JobStageProfiles, AFailedMonitorFileEndsTheStepBeforeItsExtraction) {
  const FailureCase cases[] = {
      {"no src", R"(<profile name="B"/>)", false},
      {"a missing monitor file", R"(<profile name="B" src="missing.lmf"/>)", false},
      {"a src with a folder part", R"(<profile name="B" src="sub\b.lmf"/>)", true},
  };
  for (const FailureCase& c : cases) {
    PackageFixture local;
    local.WriteDescription(R"(<profile name="A" src="a.lmf"/>)" + c.secondProfile +
                           R"(<profile name="C" src="a.lmf"/>)");
    local.WriteMonitorFile("a.lmf", kEntries);
    if (c.writeMonitorFile) local.WriteMonitorFile("sub/b.lmf", kEntries);
    MonitorFileJob job = local.MakeJob();
    ASSERT_EQ(job.ReadPackageInfo(), 1) << c.what;
    EXPECT_EQ(job.StageProfiles(), 0) << c.what;
    EXPECT_TRUE(fs::exists(local.packageFolder() / "A" / "M1" / "data.xml")) << c.what;
    EXPECT_EQ(ReadTree(local.packageFolder() / "B"), Tree{}) << c.what;
    EXPECT_EQ(ReadTree(local.packageFolder() / "C"), Tree{}) << c.what;
  }
}

TEST_F(JobStageProfiles, AChecksumMismatchKeepsTheCopyAndUnpacksNothing) {
  fixture.WriteDescription(R"(<profile name="A" src="a.lmf"/>)");
  fixture.WriteMonitorFile("a.lmf", kEntries);
  std::string bytes = ReadFile(fixture.packageFolder() / "a.lmf");
  bytes[23] = static_cast<char>(bytes[23] ^ 0x01);
  testing_support::WriteFile(fixture.packageFolder() / "a.lmf", bytes);
  EXPECT_EQ(Stage(1), 0);
  EXPECT_EQ(ReadTree(fixture.packageFolder() / "A"),
            (Tree{{"a.lmf.zip", testing_support::BuildZip(kEntries)}}));
}

TEST_F(JobStageProfiles, AnArchiveWithoutEntriesLeavesOnlyTheCopy) {
  fixture.WriteDescription(R"(<profile name="A" src="a.lmf"/>)");
  fixture.WriteMonitorFile("a.lmf", std::vector<ZipEntry>{});
  EXPECT_EQ(Stage(1), 1);
  EXPECT_EQ(Unpacked("A", "a.lmf"), Tree{});
}

TEST_F(JobStageProfiles, AnEntryThatCannotBeUnpackedEndsTheStep) {
  fixture.WriteDescription(R"(<profile name="A" src="a.lmf"/><profile name="B" src="b.lmf"/>)");
  fixture.WriteMonitorFile("a.lmf", {{"M1/CAP.xml", "cap"}, {"M1/odd.xml", "data", 99}});
  fixture.WriteMonitorFile("b.lmf", kEntries);
  EXPECT_EQ(Stage(1), 0);
  EXPECT_EQ(Unpacked("A", "a.lmf"), (Tree{{"M1", std::nullopt}, {"M1/CAP.xml", "cap"}}));
  EXPECT_EQ(ReadTree(fixture.packageFolder() / "B"), Tree{});
}

TEST_F(JobStageProfiles, ACurrentDirectoryThatCannotBeReadFailsBeforeTheExtraction) {
  WriteTwoProfiles();
  MonitorFileJob job = fixture.MakeJob();
  ASSERT_EQ(job.ReadPackageInfo(), 1);
  fixture.host.FailOperation("CurrentDirectory");
  EXPECT_EQ(job.StageProfiles(), 0);
  EXPECT_EQ(ReadTree(fixture.packageFolder() / "A"),
            (Tree{{"a.lmf.zip", testing_support::BuildZip(kEntries)}}));
  EXPECT_EQ(ReadTree(fixture.packageFolder() / "B"), Tree{});
}

}  // namespace
