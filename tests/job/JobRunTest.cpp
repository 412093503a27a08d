// The five steps in the driver's order on one package, for each product.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

using job_testing::FolderNames;
using job_testing::ModelFiles;
using job_testing::MonitorType;
using job_testing::PackageFixture;
using job_testing::ReadTree;
using job_testing::Tree;
using Names = std::vector<std::string>;

void WritePackage(PackageFixture& fixture) {
  fixture.WriteDescription(R"(
  <profile name="Pro" src="pro.lmf"/>
  <profile name="Office" src="office.lmf"/>
  <model name="Big" version="3" profile="Pro">
    <supportversion software="Lumora" min="8.0.0" max="8.9.9"/>
    <supportversion software="Tessaro Hub" min="3.0.0"/>
  </model>
  <model name="Wide" version="1" profile="Pro">
    <supportversion software="Lumora" min="9.0.0"/>
    <supportversion software="Tessaro Hub" min="3.1.0"/>
  </model>
  <model name="Small" version="5" profile="Office"/>)");
  fixture.WriteMonitorFile("pro.lmf", std::vector<ModelFiles>{
      {"Big", {{"CALDEF.xml", "big caldef"}, {"CAP.xml", "big cap"}, {"montype.xml", MonitorType(3)}}},
      {"Wide", {{"CAP.xml", "wide cap"}, {"montype.xml", MonitorType(1)}}}});
  fixture.WriteMonitorFile("office.lmf", std::vector<ModelFiles>{
      {"Small", {{"CAP.xml", "small cap"}, {"montype.xml", MonitorType(5)}}}});
  fixture.InstallModel("Big", 2, {{"CAP.xml", "old big cap"}});
  fixture.InstallModel("Small", 5, {{"CAP.xml", "current small cap"}});
}

// The driver's sequence for a run that is not extract-only.
bool RunAllSteps(MonitorFileJob& job) {
  if (job.ReadPackageInfo() == 0) return false;
  bool succeeded = job.StageProfiles() != 0;
  if (succeeded) succeeded = job.SelectProfiles() != 0 && job.InstallProfiles() != 0;
  return job.RemoveStaging() != 0 && succeeded;
}

TEST(JobRun, TheMainProductInstallsTheNewerCompatibleProfiles) {
  PackageFixture fixture;
  fixture.RegisterProduct(1, "8.2.1");
  WritePackage(fixture);
  MonitorFileJob job = fixture.MakeJob(1);
  EXPECT_TRUE(RunAllSteps(job));
  EXPECT_EQ(job.m_incompatibleMonitors, Names{"Wide"});
  EXPECT_EQ(ReadTree(fixture.StoredModel("Big")),
            (Tree{{"CALDEF.xml", "big caldef"}, {"CAP.xml", "big cap"}, {"montype.xml", MonitorType(3)}}));
  EXPECT_EQ(ReadTree(fixture.StoredModel("Small")),
            (Tree{{"CAP.xml", "current small cap"}, {"montype.xml", MonitorType(5)}}));
  EXPECT_EQ(FolderNames(fixture.StoreFolder()), (Names{"Big", "Small"}));
  EXPECT_EQ(FolderNames(fixture.packageFolder()),
            (Names{"LumoraMonitorFileInfo.xml", "office.lmf", "pro.lmf"}));
}

TEST(JobRun, TheSecondProductInstallsOnlyCalibrationAndCapabilities) {
  PackageFixture fixture;
  fixture.RegisterProduct(0, "3.0.5");
  WritePackage(fixture);
  MonitorFileJob job = fixture.MakeJob(0);
  EXPECT_TRUE(RunAllSteps(job));
  EXPECT_EQ(job.m_incompatibleMonitors, Names{"Wide"});
  // The staged Big holds no montype.xml in this run, so the store's copy
  // holds none either.
  EXPECT_EQ(ReadTree(fixture.StoredModel("Big")), (Tree{{"CALDEF.xml", "big caldef"}, {"CAP.xml", "big cap"}}));
  EXPECT_EQ(FolderNames(fixture.packageFolder()),
            (Names{"LumoraMonitorFileInfo.xml", "office.lmf", "pro.lmf"}));
}

}  // namespace
