// Replacing an installed model folder under forced faults: whatever fails,
// the store keeps a complete folder for the model (the old one until the new
// one is in place) and no partial copy stays behind.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

using job_testing::FolderNames;
using job_testing::PackageFixture;
using job_testing::ReadTree;
using job_testing::Tree;
using Names = std::vector<std::string>;

const Tree kOld = {{"CAP.xml", "old A"}, {"montype.xml", job_testing::MonitorType(1)}};
const Tree kNew = {{"CAP.xml", "new A, long enough to be cut in half"}, {"montype.xml", job_testing::MonitorType(2)}};

// Model A staged with the new profile, and optionally installed with the old.
void PreparePackage(PackageFixture& fixture, bool oldInstalled) {
  fixture.RegisterProduct(1, "8.2.1");
  fixture.WriteDescription(R"(<model name="A" version="2" profile="P"/>)");
  fixture.WriteStagedModel(
      "P", {"A", {{"CAP.xml", *kNew.at("CAP.xml")}, {"montype.xml", *kNew.at("montype.xml")}}});
  if (oldInstalled) fixture.InstallModel("A", 1, {{"CAP.xml", "old A"}});
}

int InstallA(PackageFixture& fixture) {
  MonitorFileJob job = fixture.MakeJob();
  job.m_stagedProfiles = {"P"};
  job.m_selectedModels = {"A"};
  return job.InstallProfiles();
}

class JobModelFolderReplacement : public ::testing::Test {
 protected:
  JobModelFolderReplacement() { PreparePackage(fixture, false); }
  void InstallOld() { fixture.InstallModel("A", 1, {{"CAP.xml", "old A"}}); }
  int Install() { return InstallA(fixture); }
  // The store's operations in order, with the name they act on last.
  Names StoreCalls() const {
    const std::string maker = fixture.InstallLocation() + "Profile\\HALVOR ONA\\";
    Names calls;
    for (const auto& call : fixture.host.calls()) {
      for (const char* op : {"RemoveTree", "CopyTree", "Rename", "Exchange", "SyncFolder"}) {
        if (call.operation != op) continue;
        const std::string& target = call.second.empty() ? call.path : call.second;
        std::string line = call.operation + " ";
        if (call.operation == "Rename" || call.operation == "Exchange") {
          line += call.path.substr(maker.size()) + " ";
        }
        calls.push_back(line + (target.size() >= maker.size() ? target.substr(maker.size()) : target));
      }
    }
    return calls;
  }

  PackageFixture fixture;
};

TEST_F(JobModelFolderReplacement, SwapsTheCopyInBeforeTheOldFolderGoes) {
  InstallOld();
  EXPECT_EQ(Install(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNew);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
  EXPECT_EQ(StoreCalls(), (Names{"CopyTree .A.lmfs-new", "Exchange .A.lmfs-new A", "SyncFolder ",
                                 "RemoveTree .A.lmfs-new"}));
}

TEST_F(JobModelFolderReplacement, WithoutExchangeTheOldFolderGoesAsideFirst) {
  InstallOld();
  fixture.host.exchangeUnsupported = true;
  EXPECT_EQ(Install(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNew);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
  EXPECT_EQ(StoreCalls(), (Names{"CopyTree .A.lmfs-new", "Exchange .A.lmfs-new A", "Rename A .A.lmfs-old",
                                 "Rename .A.lmfs-new A", "SyncFolder ", "RemoveTree .A.lmfs-old"}));
}

TEST_F(JobModelFolderReplacement, ANewModelIsRenamedIntoPlace) {
  EXPECT_EQ(Install(), 1);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNew);
  EXPECT_EQ(StoreCalls(), (Names{"CopyTree .A.lmfs-new", "Rename .A.lmfs-new A", "SyncFolder "}));
}

struct FaultCase {
  const char* what;
  bool oldInstalled;
  std::function<void(platform::TestHost&)> fault;
  int result;
  std::optional<Tree> model;  // what stands at A afterwards
  Names store;                // the store's names afterwards
};

TEST(JobModelFolderReplacementFaults, FaultTable) {
  using platform::TestHost;
  const FaultCase cases[] = {
      {"the maker folder cannot be made", true, [](TestHost& h) { h.FailOperation("MakeFolders"); }, 0, kOld,
       {"A"}},
      {"the copy fails", true, [](TestHost& h) { h.FailOperation("CopyTree"); }, 0, kOld, {"A"}},
      {"the copy breaks off halfway", true, [](TestHost& h) { h.copyBreaksHalfway = true; }, 0, kOld, {"A"}},
      {"the copy of a new model breaks off", false, [](TestHost& h) { h.copyBreaksHalfway = true; }, 0,
       std::nullopt, {}},
      {"the exchange fails", true, [](TestHost& h) { h.FailOperation("Exchange"); }, 0, kOld, {"A"}},
      {"setting the old folder aside fails", true,
       [](TestHost& h) {
         h.exchangeUnsupported = true;
         h.FailOperation("Rename", "", 0, 1);
       },
       0, kOld, {"A"}},
      {"renaming the copy in fails", true,
       [](TestHost& h) {
         h.exchangeUnsupported = true;
         h.FailOperation("Rename", "", 1, 1);
       },
       0, kOld, {"A"}},
      {"renaming a new model in fails", false, [](TestHost& h) { h.FailOperation("Rename"); }, 0,
       std::nullopt, {}},
      // Once swapped, the new profile stays; the old one is kept until the
      // swap is on disk, and cleared by the next install.
      {"the swap cannot be made durable", true, [](TestHost& h) { h.FailOperation("SyncFolder"); }, 0, kNew,
       {".A.lmfs-new", "A"}},
      {"the old folder cannot be removed", true,
       [](TestHost& h) { h.FailOperation("RemoveTree", ".A.lmfs-new"); }, 1, kNew, {".A.lmfs-new", "A"}},
      {"the old folder set aside cannot be removed", true,
       [](TestHost& h) {
         h.exchangeUnsupported = true;
         h.FailOperation("RemoveTree", ".A.lmfs-old");
       },
       1, kNew, {".A.lmfs-old", "A"}},
  };
  for (const FaultCase& c : cases) {
    PackageFixture local;  // its own fault rules
    PreparePackage(local, c.oldInstalled);
    c.fault(local.host);
    EXPECT_EQ(InstallA(local), c.result) << c.what;
    if (c.model) {
      EXPECT_EQ(ReadTree(local.StoredModel("A")), *c.model) << c.what;
    } else {
      EXPECT_FALSE(std::filesystem::exists(local.StoredModel("A"))) << c.what;
    }
    EXPECT_EQ(FolderNames(local.StoreFolder()), c.store) << c.what;
  }
}

TEST_F(JobModelFolderReplacement, TheNextInstallClearsWhatAFailedRemovalLeft) {
  InstallOld();
  fixture.host.FailOperation("RemoveTree", ".A.lmfs-new", 0, 1);
  ASSERT_EQ(Install(), 1);
  ASSERT_EQ(FolderNames(fixture.StoreFolder()), (Names{".A.lmfs-new", "A"}));
  EXPECT_EQ(Install(), 1);
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), Names{"A"});
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kNew);
}

TEST_F(JobModelFolderReplacement, ALeftoverThatCannotBeClearedFailsBeforeTheCopy) {
  InstallOld();
  fixture.InstallModel(".A.lmfs-new", 1);
  fixture.host.FailOperation("RemoveTree");
  EXPECT_EQ(Install(), 0);
  EXPECT_EQ(ReadTree(fixture.StoredModel("A")), kOld);
  EXPECT_EQ(fixture.host.CountCalls("CopyTree"), 0u);
}

}  // namespace
