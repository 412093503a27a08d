// The package description's profile elements and their staging folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

using job_testing::FolderNames;
using job_testing::PackageFixture;
using Names = std::vector<std::string>;

struct DescriptionCase {
  const char* what;
  std::string body;
  int result;
  Names staged;   // also the folders made, sorted, besides the description
};

TEST(JobReadPackageInfo, DescriptionTable) {
  const DescriptionCase cases[] = {
      {"a root without children", "", 1, {}},
      {"only models", R"(<model name="M" version="1" profile="A"/>)", 1, {}},
      {"two profiles", R"(<profile name="A" src="a.lmf"/><profile name="B" src="b.lmf"/>)", 1,
       {"A", "B"}},
      {"a repeated name", R"(<profile name="A"/><profile name="B"/><profile name="A"/><profile name="C"/>)",
       0, {"A", "B"}},
      {"a profile without a name", R"(<profile name="A"/><profile src="x.lmf"/><profile name="B"/>)", 0,
       {"A"}},
      {"an empty name", R"(<profile name=""/>)", 0, {}},
      {"a name below a missing folder", R"(<profile name="A"/><profile name="X\Y"/>)", 0, {"A"}},
      {"models, comments and text between", R"(<model name="M"/><!-- c --><profile name="A"/>
          text <other/><profile name="B"/>)", 1, {"A", "B"}},
      {"a capital P and a nested profile",
       R"(<Profile name="A"/><group><profile name="B"/></group><profile name="C"/>)", 1, {"C"}},
      {"a profile without src", R"(<profile name="A"/>)", 1, {"A"}},
  };
  for (const DescriptionCase& c : cases) {
    PackageFixture fixture;
    fixture.WriteDescription(c.body);
    MonitorFileJob job = fixture.MakeJob();
    EXPECT_EQ(job.ReadPackageInfo(), c.result) << c.what;
    EXPECT_EQ(job.m_stagedProfiles, c.staged) << c.what;
    Names folders = c.staged;
    folders.push_back("LumoraMonitorFileInfo.xml");
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(FolderNames(fixture.packageFolder()), folders) << c.what;
  }
}

TEST(JobReadPackageInfo, AMissingOrMalformedDescriptionCreatesNothing) {
  for (const char* content : {"", "<root><profile name=\"A\"/>", "not xml"}) {
    PackageFixture fixture;
    if (*content != '\0') testing_support::WriteFile(fixture.packageFolder() / "LumoraMonitorFileInfo.xml", content);
    MonitorFileJob job = fixture.MakeJob();
    EXPECT_EQ(job.ReadPackageInfo(), 0) << content;
    EXPECT_TRUE(job.m_stagedProfiles.empty());
    EXPECT_EQ(fixture.host.CountCalls("MakeFolder"), 0u);
  }
}

TEST(JobReadPackageInfo, AFolderLeftByAnEarlierRunFailsAndStaysAsItWas) {
  PackageFixture fixture;
  fixture.WriteDescription(R"(<profile name="A"/><profile name="B"/>)");
  testing_support::WriteFile(fixture.packageFolder() / "A" / "M" / "CAP.xml", "earlier");
  MonitorFileJob job = fixture.MakeJob();
  EXPECT_EQ(job.ReadPackageInfo(), 0);
  EXPECT_TRUE(job.m_stagedProfiles.empty());
  EXPECT_EQ(testing_support::ReadFile(fixture.packageFolder() / "A" / "M" / "CAP.xml"), "earlier");
  EXPECT_FALSE(std::filesystem::exists(fixture.packageFolder() / "B"));
}

// A staging folder is made only inside the package folder: a name that leads
// out of it, relative or absolute, fails the step before anything is made.
TEST(JobReadPackageInfo, ANameLeadingOutOfThePackageFolderIsRefused) {
  const auto leadingOut = [](const PackageFixture& fixture) {
    const std::string absolute = (fixture.packageFolder().parent_path() / "Out").string();
    std::string backslashed = absolute;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    return Names{"../Out", "..\\Out", "A/../../Out", "A\\..\\..\\Out", "..", absolute, backslashed};
  };
  for (std::size_t i = 0; i < leadingOut(PackageFixture()).size(); ++i) {
    PackageFixture fixture;
    const std::string name = leadingOut(fixture)[i];
    fixture.WriteDescription(R"(<profile name="A"/><profile name=")" + name + R"("/><profile name="B"/>)");
    MonitorFileJob job = fixture.MakeJob();
    EXPECT_EQ(job.ReadPackageInfo(), 0) << name;
    EXPECT_EQ(job.m_stagedProfiles, Names{"A"}) << name;
    EXPECT_FALSE(std::filesystem::exists(fixture.packageFolder().parent_path() / "Out")) << name;
  }
}

}  // namespace
