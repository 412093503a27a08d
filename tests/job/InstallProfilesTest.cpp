// Installation: which models are installed, what the store holds afterwards,
// and the names, sources and locations that are refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

namespace fs = std::filesystem;
using job_testing::FolderNames;
using job_testing::PackageFixture;
using job_testing::ReadTree;
using job_testing::Tree;
using Names = std::vector<std::string>;

const Tree kNewA = {{"CAP.xml", "new A"}, {"sub", std::nullopt}, {"sub/data.bin", "payload"}};

class JobInstallProfiles : public ::testing::Test {
 protected:
  JobInstallProfiles() {
    fixture.WriteStagedModel("P", {"A", {{"CAP.xml", "new A"}, {"sub/data.bin", "payload"}}});
    job.m_stagedProfiles = {"P"};
  }
  // A job of the main product, installed as 8.2.1 in the fixture's folder.
  MonitorFileJob MakeJob() {
    fixture.RegisterProduct(1, "8.2.1");
    MonitorFileJob made = fixture.MakeJob();
    EXPECT_EQ(made.m_installLocation, fixture.InstallLocation());
    return made;
  }
  // The calls that change the store.
  std::size_t StoreWrites() const {
    std::size_t count = 0;
    for (const char* op : {"MakeFolders", "RemoveTree", "CopyTree", "Rename", "Exchange"}) {
      count += fixture.host.CountCalls(op);
    }
    return count;
  }

  PackageFixture fixture;
  MonitorFileJob job = MakeJob();
};

TEST_F(JobInstallProfiles, CopiesTheStagedModelWithEverythingBelowIt) {
  fixture.WriteDescription(R"(<model name="A" version="1" profile="P"/>)");
  job.m_selectedModels = {"A"};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNewA);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
  const std::string cwd = fixture.packageFolder().string();
  ASSERT_EQ(fixture.host.CountCalls("CopyTree"), 1u);
  for (const auto& call : fixture.host.calls()) {
    if (call.operation != "CopyTree") continue;
    EXPECT_EQ(call.path, cwd + "\\P\\A");
    EXPECT_EQ(call.second, fixture.InstallLocation() + "Profile\\HALVOR ONA\\.A.lmfs-new");
  }
}

TEST_F(JobInstallProfiles, ReplacesAnInstalledModelWholly) {
  fixture.WriteDescription(R"(<model name="A" version="2" profile="P"/>)");
  fixture.InstallModel("A", 1, {{"old.xml", "old"}, {"CAP.xml", "old A"}});
  fixture.InstallModel("B", 1);
  job.m_selectedModels = {"A"};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNewA);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), (Names{"A", "B"}));
}

TEST_F(JobInstallProfiles, ModelsNotSelectedAreNeitherTestedNorListedNorInstalled) {
  fixture.WriteStagedModel("P", {"B", {{"CAP.xml", "new B"}}});
  fixture.WriteDescription(R"(<model name="B" profile="P"><supportversion software="Lumora" min="99"/></model>
      <model name="A" profile="P"/>)");
  job.m_selectedModels = {"A"};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_TRUE(job.m_incompatibleMonitors.empty());
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
}

TEST_F(JobInstallProfiles, DuplicateModelElementsAreEachChecked) {
  fixture.WriteStagedModel("Q", {"A", {{"CAP.xml", "A from Q"}}});
  job.m_stagedProfiles.push_back("Q");
  fixture.WriteDescription(R"(<model name="A" profile="P"/><model name="A" profile="Q"/>
      <model name="X" profile="P"><supportversion software="Lumora" max="1"/></model>
      <model name="X" profile="P"><supportversion software="Lumora" max="1"/></model>)");
  job.m_selectedModels = {"A", "X", "A"};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_EQ(job.m_incompatibleMonitors, (Names{"X", "X"}));
  // Installed twice: the second copy replaced the first.
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), (Tree{{"CAP.xml", "A from Q"}}));
  EXPECT_EQ(fixture.host.CountCalls("CopyTree"), 2u);
}

TEST_F(JobInstallProfiles, AFailedCopyForTheSecondOfThreeModelsEndsTheStep) {
  fixture.WriteStagedModel("P", {"C", {{"CAP.xml", "new C"}}});
  fixture.WriteDescription(R"(<model name="A" profile="P"/>
      <model name="D" profile="P"><supportversion software="Lumora" min="9"/></model>
      <model name="B" profile="P"/><model name="C" profile="P"/>
      <model name="E" profile="P"><supportversion software="Lumora" min="9"/></model>)");
  job.m_selectedModels = {"A", "B", "C", "D", "E"};
  EXPECT_EQ(job.InstallProfiles(), 0);  // P holds no B
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNewA);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
  EXPECT_EQ(job.m_incompatibleMonitors, Names{"D"});
}

TEST_F(JobInstallProfiles, AFileAtTheModelPathIsLeftAndFailsTheInstall) {
  fixture.WriteDescription(R"(<model name="A" profile="P"/>)");
  testing_support::WriteFile(fixture.StoredModel("A"), "a file");
  job.m_selectedModels = {"A"};
  EXPECT_EQ(job.InstallProfiles(), 0);
  EXPECT_EQ(testing_support::ReadFile(fixture.StoredModel("A")), "a file");
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
}

struct OutcomeCase {
  const char* what;
  std::string body;  // "" for no description file
  Names selected;
  int result;
  Names incompatible;
};

TEST_F(JobInstallProfiles, OutcomesThatInstallNothing) {
  const OutcomeCase cases[] = {
      {"no description", "", {"A"}, 0, {}},
      {"no model element", R"(<profile name="P"/>)", {"A"}, 1, {}},
      {"nothing selected", R"(<model name="A" profile="P"/>)", {}, 1, {}},
      {"every selected model incompatible",
       R"(<model name="A" profile="P"><supportversion software="Lumora" max="8.2.0"/></model>
          <model name="B" profile="P"><supportversion software="Lumora" min="8.2.2"/></model>)",
       {"A", "B"}, 1, {"A", "B"}},
  };
  for (const OutcomeCase& c : cases) {
    PackageFixture local;
    local.RegisterProduct(1, "8.2.1");
    if (!c.body.empty()) local.WriteDescription(c.body);
    local.WriteStagedModel("P", {"A", {{"CAP.xml", "new A"}}});
    MonitorFileJob localJob = local.MakeJob();
    localJob.m_stagedProfiles = {"P"};
    localJob.m_selectedModels = c.selected;
    EXPECT_EQ(localJob.InstallProfiles(), c.result) << c.what;
    EXPECT_EQ(localJob.m_incompatibleMonitors, c.incompatible) << c.what;
    EXPECT_FALSE(fs::exists(local.StoreFolder())) << c.what;
  }
}

// A name that is not one folder level would reach the maker folder itself or
// beyond it: nothing is removed, copied or written for it.
TEST_F(JobInstallProfiles, AnUnsafeModelNameIsRefusedBeforeTheStoreIsTouched) {
  fixture.InstallModel("Keep", 1, {{"CAP.xml", "keep"}});
  const Tree before = ReadTree(fixture.installFolder());
  for (const std::string name : {"", ".", "..", "a/b", "a\\b", "..\\..\\x"}) {
    fixture.host.ClearCalls();
    fixture.WriteDescription("<model name=\"" + name + "\" profile=\"P\"/><model name=\"A\" profile=\"P\"/>");
    // A staged folder that the name would reach, where one can exist.
    if (name == "a/b" || name == "a\\b") fixture.WriteStagedModel("P", {"a/b", {{"CAP.xml", "x"}}});
    MonitorFileJob unsafe = MakeJob();
    unsafe.m_stagedProfiles = {"P"};
    unsafe.m_selectedModels = {name, "A"};
    EXPECT_EQ(unsafe.InstallProfiles(), 0) << '"' << name << '"';
    EXPECT_EQ(StoreWrites(), 0u) << '"' << name << '"';
    EXPECT_EQ(ReadTree(fixture.installFolder()), before) << '"' << name << '"';
  }
}

TEST_F(JobInstallProfiles, AnUnsafeNameThatIsIncompatibleIsOnlyListed) {
  fixture.WriteDescription(R"(<model name=".." profile="P"><supportversion software="Lumora" min="9"/></model>)");
  job.m_selectedModels = {".."};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_EQ(job.m_incompatibleMonitors, Names{".."});
  EXPECT_EQ(StoreWrites(), 0u);
}

// The copy source must be a folder inside one of this job's staging folders.
TEST_F(JobInstallProfiles, ASourceOutsideTheJobsStagingFoldersFailsTheCopy) {
  struct SourceCase {
    const char* what;
    std::string profile;
    Names staged;
  };
  fixture.WriteStagedModel("Other", {"A", {{"CAP.xml", "x"}}});
  fixture.WriteStagedModel("sub/P", {"A", {{"CAP.xml", "x"}}});
  fixture.WriteStagedModel("..", {"A", {{"CAP.xml", "x"}}});
  fixture.WriteStagedModel("P", {"Z", {}});
  fs::create_directory_symlink(fixture.packageFolder() / "Other" / "A", fixture.packageFolder() / "P" / "L");
  testing_support::WriteFile(fixture.packageFolder() / "P" / "F", "a file");
  const SourceCase cases[] = {
      {"a profile this job did not stage", "Other", {"P"}},
      {"no profile attribute", "", {"P", ""}},
      {"a staged name with a folder part", "sub\\P", {"P", "sub\\P"}},
      {"a staged name leading out", "..", {"P", ".."}},
  };
  for (const SourceCase& c : cases) {
    fixture.host.ClearCalls();
    fixture.WriteDescription(R"(<model name="A" profile=")" + c.profile + R"("/>)");
    MonitorFileJob other = MakeJob();
    other.m_stagedProfiles = c.staged;
    other.m_selectedModels = {"A"};
    EXPECT_EQ(other.InstallProfiles(), 0) << c.what;
    EXPECT_EQ(StoreWrites(), 0u) << c.what;
  }
  for (const std::string model : {"L", "F", "missing"}) {
    fixture.host.ClearCalls();
    fixture.WriteDescription(R"(<model name=")" + model + R"(" profile="P"/>)");
    MonitorFileJob other = MakeJob();
    other.m_stagedProfiles = {"P"};
    other.m_selectedModels = {model};
    EXPECT_EQ(other.InstallProfiles(), 0) << model;
    EXPECT_EQ(StoreWrites(), 0u) << model;
  }
  EXPECT_FALSE(fs::exists(fixture.StoreFolder()));
}

TEST_F(JobInstallProfiles, WithoutAnInstallLocationNothingIsWritten) {
  fixture.WriteDescription(R"(<model name="D" profile="P"><supportversion software="Lumora" min="9"/></model>
      <model name="A" profile="P"/>)");
  job.m_installLocation.clear();
  job.m_selectedModels = {"D", "A"};
  EXPECT_EQ(job.InstallProfiles(), 0);
  EXPECT_EQ(job.m_incompatibleMonitors, Names{"D"});
  EXPECT_EQ(StoreWrites(), 0u);
  EXPECT_FALSE(fs::exists(fixture.packageFolder() / "Profile"));

  // With nothing to install, the step still succeeds.
  MonitorFileJob onlyIncompatible = MakeJob();
  onlyIncompatible.m_installLocation.clear();
  onlyIncompatible.m_selectedModels = {"D"};
  EXPECT_EQ(onlyIncompatible.InstallProfiles(), 1);
}

TEST_F(JobInstallProfiles, ACurrentDirectoryThatCannotBeReadLeavesTheStoreAlone) {
  fixture.WriteDescription(R"(<model name="A" profile="P"/>)");
  fixture.InstallModel("A", 1);
  const Tree before = ReadTree(fixture.installFolder());
  job.m_selectedModels = {"A"};
  fixture.host.FailOperation("CurrentDirectory");
  EXPECT_EQ(job.InstallProfiles(), 0);
  EXPECT_EQ(ReadTree(fixture.installFolder()), before);
}

TEST_F(JobInstallProfiles, FoldersLeftByAnEarlierRunAreClearedAway) {
  fixture.WriteDescription(R"(<model name="A" profile="P"/>)");
  fixture.InstallModel("A", 1);
  fixture.InstallModel(".A.lmfs-new", 1, {{"half.bin", "hal"}});
  fixture.InstallModel(".A.lmfs-old", 1);
  fixture.InstallModel(".B.lmfs-old", 1);  // a model this run does not install
  job.m_selectedModels = {"A"};
  EXPECT_EQ(job.InstallProfiles(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNewA);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), (Names{".B.lmfs-old", "A"}));
}

TEST_F(JobInstallProfiles, AnOldFolderLeftInPlaceOfTheModelIsPutBack) {
  // A run cut short between the two renames of a swap.
  fixture.WriteDescription(R"(<model name="A" profile="P"/>)");
  fixture.InstallModel(".A.lmfs-old", 1, {{"CAP.xml", "old A"}});
  fixture.InstallModel(".A.lmfs-new", 2);
  const Tree old = ReadTree(fixture.StoredModel(".A.lmfs-old"));
  job.m_selectedModels = {"A"};
  fixture.host.copyBreaksHalfway = true;
  EXPECT_EQ(job.InstallProfiles(), 0);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), old);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
}

}  // namespace
