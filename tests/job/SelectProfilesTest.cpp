// Selection: the models whose installed profile is missing, unreadable or
// older than the catalogue's version.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/job/PackageFixture.h"

namespace {

using job_testing::PackageFixture;
using Names = std::vector<std::string>;

std::string MonitorTypeWith(const std::string& content) {
  return "<?xml version=\"1.0\"?>\n<MonitorType>" + content + "</MonitorType>\n";
}

struct SelectionCase {
  const char* what;
  std::string models;                               // the description's body
  std::map<std::string, std::string> installed;     // model -> its montype.xml
  Names selected;                                   // sorted
};

TEST(JobSelectProfiles, SelectionTable) {
  const std::string v2 = MonitorTypeWith("<ProfileVersion>2</ProfileVersion>");
  const std::string noVersion = MonitorTypeWith("<ModelName>A</ModelName>");
  const SelectionCase cases[] = {
      {"no model elements", R"(<profile name="P"/>)", {}, {}},
      {"the last duplicate wins", R"(<model name="A" version="3"/><model name="A" version="2"/>)",
       {{"A", v2}}, {}},
      {"the last duplicate wins, upwards", R"(<model name="A" version="2"/><model name="A" version="3"/>)",
       {{"A", v2}}, {"A"}},
      {"names differing in case", R"(<model name="A" version="2"/><model name="a" version="2"/>)",
       {{"A", v2}}, {"a"}},
      {"a capital M and a nested model",
       R"(<Model name="A" version="9"/><group><model name="B" version="9"/></group>)", {}, {}},
      {"equal versions", R"(<model name="A" version="2"/>)", {{"A", v2}}, {}},
      {"a newer catalogue", R"(<model name="A" version="3"/>)", {{"A", v2}}, {"A"}},
      {"an older catalogue", R"(<model name="A" version="1"/>)", {{"A", v2}}, {}},
      {"no ProfileVersion, catalogue 1", R"(<model name="A" version="1"/>)", {{"A", noVersion}}, {}},
      {"no ProfileVersion, catalogue 2", R"(<model name="A" version="2"/>)", {{"A", noVersion}}, {"A"}},
      {"a nested ProfileVersion counts as missing", R"(<model name="A" version="2"/>)",
       {{"A", MonitorTypeWith("<Info><ProfileVersion>5</ProfileVersion></Info>")}}, {"A"}},
      {"ProfileVersion with white space", R"(<model name="A" version="4"/><model name="B" version="5"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion> 4 </ProfileVersion>")},
        {"B", MonitorTypeWith("<ProfileVersion>\n 4\n</ProfileVersion>")}}, {"B"}},
      {"ProfileVersion 4.1 reads as 4", R"(<model name="A" version="4"/><model name="B" version="5"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion>4.1</ProfileVersion>")},
        {"B", MonitorTypeWith("<ProfileVersion>4.1</ProfileVersion>")}}, {"B"}},
      {"ProfileVersion without a number counts as 1",
       R"(<model name="A" version="1"/><model name="B" version="2"/><model name="C" version="2"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion>v9</ProfileVersion>")},
        {"B", MonitorTypeWith("<ProfileVersion></ProfileVersion>")},
        {"C", MonitorTypeWith("<ProfileVersion><![CDATA[9]]></ProfileVersion>")}}, {"B", "C"}},
      {"ProfileVersion beyond the range saturates", R"(<model name="A" version="2147483647"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion>99999999999</ProfileVersion>")}}, {}},
      {"a missing profile, whatever the catalogue",
       R"(<model name="A" version="0"/><model name="B" version="-5"/><model name="C"/>)", {},
       {"A", "B", "C"}},
      {"a malformed montype.xml", R"(<model name="A" version="1"/>)", {{"A", "<MonitorType>"}}, {"A"}},
      {"7x reads as 7", R"(<model name="A" version="7x"/><model name="B" version="7x"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion>7</ProfileVersion>")},
        {"B", MonitorTypeWith("<ProfileVersion>6</ProfileVersion>")}}, {"B"}},
      {"x7 reads as 0", R"(<model name="A" version="x7"/>)",
       {{"A", MonitorTypeWith("<ProfileVersion>0</ProfileVersion>")}}, {}},
      {"an unusual name only reads", R"(<model name="..\.." version="1"/><model name="" version="1"/>)", {},
       {"", "..\\.."}},
  };
  for (const SelectionCase& c : cases) {
    PackageFixture fixture;
    fixture.RegisterProduct(1, "8.2.1");
    fixture.WriteDescription(c.models);
    for (const auto& [model, montype] : c.installed) {
      testing_support::WriteFile(fixture.StoredModel(model) / "montype.xml", montype);
    }
    const auto storeBefore = job_testing::ReadTree(fixture.installFolder());
    MonitorFileJob job = fixture.MakeJob();
    EXPECT_EQ(job.SelectProfiles(), 1) << c.what;
    Names selected = job.m_selectedModels;
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, c.selected) << c.what;
    EXPECT_EQ(job_testing::ReadTree(fixture.installFolder()), storeBefore) << c.what;
  }
}

TEST(JobSelectProfiles, AMissingDescriptionFailsAndSelectsNothing) {
  PackageFixture fixture;
  MonitorFileJob job = fixture.MakeJob();
  EXPECT_EQ(job.SelectProfiles(), 0);
  EXPECT_TRUE(job.m_selectedModels.empty());
}

TEST(JobSelectProfiles, ReadsTheInstalledProfileUnderTheStore) {
  PackageFixture fixture;
  fixture.RegisterProduct(1, "8.2.1");
  fixture.WriteDescription(R"(<model name="A" version="3"/>)");
  fixture.InstallModel("A", 5);
  MonitorFileJob job = fixture.MakeJob();
  ASSERT_EQ(job.SelectProfiles(), 1);
  EXPECT_TRUE(job.m_selectedModels.empty());
  std::vector<std::string> opened;
  for (const auto& call : fixture.host.calls()) {
    if (call.operation == "OpenForReading") opened.push_back(call.path);
  }
  EXPECT_EQ(opened, (Names{PackageFixture::kDescriptionPath,
                           fixture.InstallLocation() + "Profile\\HALVOR ONA\\A\\montype.xml"}));
}

TEST(JobSelectProfiles, LeftoversOfAnEarlierInstallNeverCountAsInstalled) {
  PackageFixture fixture;
  fixture.RegisterProduct(1, "8.2.1");
  fixture.WriteDescription(R"(<model name="A" version="3"/>)");
  fixture.InstallModel(".A.lmfs-new", 9);
  fixture.InstallModel(".A.lmfs-old", 9);
  MonitorFileJob job = fixture.MakeJob();
  ASSERT_EQ(job.SelectProfiles(), 1);
  EXPECT_EQ(job.m_selectedModels, Names{"A"});
}

TEST(JobSelectProfiles, WithoutAnInstallLocationStillOnlyReads) {
  PackageFixture fixture;
  fixture.WriteDescription(R"(<model name="A" version="3"/>)");
  MonitorFileJob job = fixture.MakeJob();
  ASSERT_TRUE(job.m_installLocation.empty());
  EXPECT_EQ(job.SelectProfiles(), 1);
  EXPECT_EQ(job.m_selectedModels, Names{"A"});
  EXPECT_EQ(fixture.host.CountCalls("MakeFolder") + fixture.host.CountCalls("CreateFile"), 0u);
}

}  // namespace
