// Construction: the product's install location and version from its record.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "job/HostProduct.h"
#include "tests/job/PackageFixture.h"

namespace {

using job_testing::PackageFixture;

TEST(JobConstruction, AnyNonZeroSelectorReadsTheMainProduct) {
  for (const int selector : {1, 2, -1}) {
    PackageFixture fixture;
    fixture.RegisterProduct(1, "8.2.1");
    fixture.WriteRecord(0, "InstallLocation=/elsewhere/\nVersionString=3.0.0\n");
    const MonitorFileJob job = fixture.MakeJob(selector);
    EXPECT_EQ(job.m_mainProduct, selector);
    EXPECT_EQ(job.m_installLocation, fixture.InstallLocation()) << selector;
    EXPECT_EQ(job.m_versionMajor, 8);
    EXPECT_EQ(job.m_versionMinor, 2);
    EXPECT_EQ(job.m_versionBuild, 1);
    EXPECT_EQ(job.m_packageInfoPath, PackageFixture::kDescriptionPath);
    EXPECT_TRUE(job.m_stagedProfiles.empty() && job.m_selectedModels.empty() &&
                job.m_incompatibleMonitors.empty());
    for (const auto& call : fixture.host.calls()) EXPECT_EQ(call.path, job::kMainProductCode);
  }
}

TEST(JobConstruction, SelectorZeroReadsTheSecondProduct) {
  PackageFixture fixture;
  fixture.WriteRecord(1, "InstallLocation=/main/\nVersionString=8.2.1\n");
  fixture.RegisterProduct(0, "3.1.4");
  const MonitorFileJob job = fixture.MakeJob(0);
  EXPECT_EQ(job.m_installLocation, fixture.InstallLocation());
  EXPECT_EQ(job.m_versionMajor, 3);
  EXPECT_EQ(job.m_versionMinor, 1);
  EXPECT_EQ(job.m_versionBuild, 4);
  ASSERT_EQ(fixture.host.CountCalls("QueryProductInfo"), 2u);
  EXPECT_EQ(fixture.host.calls()[0].path, job::kSecondProductCode);
  EXPECT_EQ(fixture.host.calls()[0].second, "InstallLocation");
  EXPECT_EQ(fixture.host.calls()[1].second, "VersionString");
}

struct RecordCase {
  const char* what;
  std::string record;  // "" for no record at all
  std::string location;
  int major, minor, build;
};

TEST(JobConstruction, RecordTable) {
  const std::string at258(257, 'a');  // 258 characters with the "/" the records add
  const std::string at259(258, 'a');
  const RecordCase cases[] = {
      {"no record", "", "", 0, 0, 0},
      {"a fourth component", "VersionString=1.2.3.4", "", 1, 2, 3},
      {"two components", "VersionString=10.0", "", 10, 0, 0},
      {"no number", "VersionString=v8", "", 0, 0, 0},
      {"a location that fits", "InstallLocation=/" + at258, "/" + at258 + "/", 0, 0, 0},
      {"a location over the capacity", "InstallLocation=/" + at259, "", 0, 0, 0},
      {"an empty location", "InstallLocation=\nVersionString=5.6.7", "", 5, 6, 7},
      {"a version that fits", "VersionString=1.2.3" + std::string(26, ' '), "", 1, 2, 3},
      {"a version over the capacity", "VersionString=1.2.3" + std::string(27, ' '), "", 0, 0, 0},
      {"saturating parts", "VersionString=99999999999.-99999999999.7", "", INT_MAX, INT_MIN, 7},
  };
  for (const RecordCase& c : cases) {
    PackageFixture fixture;
    if (!c.record.empty()) fixture.WriteRecord(1, c.record + "\n");
    const MonitorFileJob job = fixture.MakeJob(1);
    EXPECT_EQ(job.m_installLocation, c.location) << c.what;
    EXPECT_EQ(job.m_versionMajor, c.major) << c.what;
    EXPECT_EQ(job.m_versionMinor, c.minor) << c.what;
    EXPECT_EQ(job.m_versionBuild, c.build) << c.what;
  }
}

}  // namespace
