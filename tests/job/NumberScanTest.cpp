// The lenient number reading of versions and profile versions, and the
// single-folder rule for names from the package description.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "job/FolderName.h"
#include "job/NumberScan.h"

namespace {

using job::VersionTriple;

struct NumberCase {
  std::string text;
  std::optional<int> number;
};

TEST(JobNumberScan, ReadsOneNumberAsTheFormattedScanDoes) {
  const NumberCase cases[] = {
      {"4", 4},
      {" 4 ", 4},
      {"\r\n\t 12\r\n", 12},
      {"4.1", 4},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"7x", 7},
      {"x7", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+-3", std::nullopt},
      {"- 3", std::nullopt},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(job::ScanNumber(c.text), c.number) << '"' << c.text << '"';
  }
}

TEST(JobNumberScan, ScanNumberMovesPastTheNumberOnly) {
  std::size_t position = 1;
  EXPECT_EQ(job::ScanNumber("x 12y", position), 12);
  EXPECT_EQ(position, 4u);
  position = 0;
  EXPECT_EQ(job::ScanNumber("y", position), std::nullopt);
  EXPECT_EQ(position, 0u);
}

TEST(JobNumberScan, CatalogueVersionReadsAsAtoiWithSaturation) {
  const std::pair<std::string, int> cases[] = {
      {"3", 3},       {"7x", 7},       {"x7", 0},       {"", 0},
      {" -3", -3},    {"+0012", 12},   {"1.9", 1},      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(job::ReadDecimal(text), value) << '"' << text << '"';
}

struct VersionCase {
  std::string text;
  int read;
  VersionTriple version;  // parts not reached keep -7
};

TEST(JobNumberScan, VersionReadsAsThreeDottedNumbers) {
  const VersionCase cases[] = {
      {"8.2.1", 3, {8, 2, 1}},
      {"1.2.3.4", 3, {1, 2, 3}},
      {"10.0", 2, {10, 0, -7}},
      {"6", 1, {6, -7, -7}},
      {"", 0, {-7, -7, -7}},
      {"x5.1", 0, {-7, -7, -7}},
      {" 5. 1.\t+2", 3, {5, 1, 2}},   // white space before each number
      {"5 .1.2", 1, {5, -7, -7}},      // but the "." must follow at once
      {"5..1", 1, {5, -7, -7}},
      {"5,1,2", 1, {5, -7, -7}},
      {"5.x.2", 1, {5, -7, -7}},
      {"5.1x", 2, {5, 1, -7}},
      {"5.1.", 2, {5, 1, -7}},
      {"-1.-2.-3", 3, {-1, -2, -3}},
      {"99999999999.2147483648.-99999999999", 3, {INT_MAX, INT_MAX, INT_MIN}},
  };
  for (const VersionCase& c : cases) {
    VersionTriple version{-7, -7, -7};
    EXPECT_EQ(job::ScanVersion(c.text, version), c.read) << '"' << c.text << '"';
    EXPECT_EQ(version, c.version) << '"' << c.text << '"';
  }
}

TEST(JobNumberScan, VersionsOrderOnMajorMinorBuild) {
  EXPECT_LT((VersionTriple{5, 0, 9}), (VersionTriple{5, 1, 0}));
  EXPECT_LT((VersionTriple{4, INT_MAX, INT_MAX}), (VersionTriple{5, 0, 0}));
  EXPECT_LT((VersionTriple{-1, 9, 9}), (VersionTriple{0, 0, 0}));
  EXPECT_EQ((VersionTriple{5, 1, 2}), (VersionTriple{5, 1, 2}));
}

TEST(JobFolderName, OnlyOneFolderLevelPasses) {
  for (const char* name : {"HQ240", "A b", ".hidden", "a..b", "..a", "CAP.xml"}) {
    EXPECT_TRUE(job::IsSingleFolderName(name)) << name;
  }
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "/", "\\", "..\\x", "x/", "\\x"}) {
    EXPECT_FALSE(job::IsSingleFolderName(name)) << name;
  }
}

}  // namespace
