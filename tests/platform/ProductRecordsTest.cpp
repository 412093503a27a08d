#include <gtest/gtest.h>

#include "platform/ProductRecords.h"
#include "tests/support/TempFolder.h"

namespace {

using platform::kQueryFailure;
using platform::kQuerySuccess;
using testing_support::TempFolder;
using testing_support::WriteFile;

const std::string kCode = "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}";

TEST(ProductRecordsTest, FindsFirstSettingAndKeepsValueUntrimmed) {
  const std::string record =
      "# comment=ignored\r\n\nName= spaced value \r\nName=second\nEmpty=\nNoEquals\n";
  EXPECT_EQ(platform::FindRecordProperty(record, "Name"), " spaced value ");
  EXPECT_EQ(platform::FindRecordProperty(record, "Empty"), "");
  EXPECT_EQ(platform::FindRecordProperty(record, "# comment"), std::nullopt);
  EXPECT_EQ(platform::FindRecordProperty(record, "NoEquals"), std::nullopt);
  EXPECT_EQ(platform::FindRecordProperty(record, "name"), std::nullopt);
  EXPECT_EQ(platform::FindRecordProperty("A=b=c", "A"), "b=c");
}

TEST(ProductRecordsTest, QueryFollowsCapacityAndLocationRules) {
  TempFolder records;
  WriteFile(records / (kCode + ".record"),
            "InstalledProductName=Lumora\nInstallLocation=/opt/lumora\nVersionString=8.2.1\n"
            "Blank=\n");
  std::string value;
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "InstalledProductName", nullptr, 0),
            kQuerySuccess);
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "InstallLocation", &value, 260),
            kQuerySuccess);
  EXPECT_EQ(value, "/opt/lumora/");
  // "/opt/lumora/" is 12 characters: 13 with the terminator.
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "InstallLocation", &value, 12),
            kQueryFailure);
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "InstallLocation", &value, 13),
            kQuerySuccess);
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "Blank", &value, 32), kQuerySuccess);
  EXPECT_EQ(value, "");
  EXPECT_EQ(platform::QueryProductRecord(records.str(), kCode, "Missing", nullptr, 0),
            kQueryFailure);
  EXPECT_EQ(platform::QueryProductRecord(records.str(), "{other}", "VersionString", &value, 32),
            kQueryFailure);
  EXPECT_EQ(platform::QueryProductRecord(records.str() + "/none", kCode, "VersionString", &value, 32),
            kQueryFailure);
}

}  // namespace
