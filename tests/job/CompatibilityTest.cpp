// The compatibility check of the installation: a selected model's supported
// range for the job's product against the installed product version.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "job/VersionTriple.h"
#include "tests/job/PackageFixture.h"

namespace {

using job::VersionTriple;
using job_testing::PackageFixture;

struct RangeCase {
  const char* what;
  std::string children;  // of model A
  VersionTriple installed;
  bool compatible;
  int mainProduct = 1;
};

TEST(JobCompatibility, RangeTable) {
  const RangeCase cases[] = {
      {"no supportversion", "", {8, 2, 1}, true},
      {"only the other product's range", R"(<supportversion software="Tessaro Hub" min="99"/>)", {8, 2, 1},
       true},
      {"the second product ignores the main range",
       R"(<supportversion software="Lumora" min="99"/><supportversion software="Tessaro Hub" max="3"/>)",
       {3, 9, 9}, true, 0},
      {"the second product's own range",
       R"(<supportversion software="Lumora" min="1"/><supportversion software="Tessaro Hub" max="3"/>)",
       {4, 0, 0}, false, 0},
      {"the first matching one wins",
       R"(<supportversion software="Lumora" min="1" max="9"/><supportversion software="Lumora" min="20"/>)",
       {5, 0, 0}, true},
      {"the first matching one wins, excluding",
       R"(<supportversion software="Lumora" min="20"/><supportversion software="Lumora" min="1" max="9"/>)",
       {5, 0, 0}, false},
      {"a nested supportversion is not found", R"(<x><supportversion software="Lumora" min="99"/></x>)",
       {8, 2, 1}, true},
      {"the software word differs in case", R"(<supportversion software="lumora" min="99"/>)", {8, 2, 1}, true},
      {"min 5.1 excludes 5.0.9", R"(<supportversion software="Lumora" min="5.1"/>)", {5, 0, 9}, false},
      {"min 5.1 admits 5.1.0", R"(<supportversion software="Lumora" min="5.1"/>)", {5, 1, 0}, true},
      {"max 5.1 admits 5.1.99", R"(<supportversion software="Lumora" max="5.1"/>)", {5, 1, 99}, true},
      {"max 5.1 excludes 5.2.0", R"(<supportversion software="Lumora" max="5.1"/>)", {5, 2, 0}, false},
      {"equal to min", R"(<supportversion software="Lumora" min="3.4.5" max="3.4.6"/>)", {3, 4, 5}, true},
      {"equal to max", R"(<supportversion software="Lumora" min="3.4.4" max="3.4.5"/>)", {3, 4, 5}, true},
      {"just above max", R"(<supportversion software="Lumora" max="3.4.5"/>)", {3, 4, 6}, false},
      {"min 6 means 6.0.0", R"(<supportversion software="Lumora" min="6"/>)", {5, 99, 99}, false},
      {"max 6 reaches 6.*.*", R"(<supportversion software="Lumora" max="6"/>)",
       {6, job::kLargestNumber, job::kLargestNumber}, true},
      {"max 6 excludes 7.0.0", R"(<supportversion software="Lumora" max="6"/>)", {7, 0, 0}, false},
      {"a min beginning with a letter reads nothing", R"(<supportversion software="Lumora" min="v9"/>)",
       {0, 0, 0}, true},
      {"a min beginning with a letter still bounds below 0",
       R"(<supportversion software="Lumora" min="v9"/>)", {-1, 0, 0}, false},
      {"empty min and max, lowest", R"(<supportversion software="Lumora" min="" max=""/>)", {0, 0, 0}, true},
      {"empty min and max, highest", R"(<supportversion software="Lumora" min="" max=""/>)",
       job::kHighestVersion, true},
      {"a min beyond the range saturates", R"(<supportversion software="Lumora" min="99999999999"/>)",
       {job::kLargestNumber, 0, 0}, true},
  };
  for (const RangeCase& c : cases) {
    PackageFixture fixture;
    fixture.WriteDescription(R"(<model name="A" profile="P">)" + c.children + "</model>");
    fixture.WriteStagedModel("P", {"A", {{"CAP.xml", "new"}}});
    MonitorFileJob job(fixture.host, PackageFixture::kDescriptionPath, c.mainProduct);
    job.m_installLocation = fixture.InstallLocation();
    job.m_stagedProfiles = {"P"};
    job.m_selectedModels = {"A"};
    job.m_versionMajor = c.installed.major;
    job.m_versionMinor = c.installed.minor;
    job.m_versionBuild = c.installed.build;
    EXPECT_EQ(job.InstallProfiles(), 1) << c.what;
    EXPECT_EQ(std::filesystem::exists(fixture.StoredModel("A") / "CAP.xml"), c.compatible) << c.what;
    EXPECT_EQ(job.m_incompatibleMonitors,
              c.compatible ? std::vector<std::string>{} : std::vector<std::string>{"A"})
        << c.what;
  }
}

}  // namespace
