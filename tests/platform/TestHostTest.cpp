#include <gtest/gtest.h>

#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(TestHostTest, RecordsCallsAndFailsChosenOnes) {
  TempFolder root;
  platform::LinuxHost real(root.str(), 0);
  platform::TestHost host(real);
  host.FailOperation("MakeFolder", "B", 1, 1);  // lets one B pass, fails the next
  EXPECT_TRUE(host.MakeFolder(root.str() + "/A"));
  EXPECT_TRUE(host.MakeFolder(root.str() + "/B1"));
  EXPECT_FALSE(host.MakeFolder(root.str() + "/B2"));
  EXPECT_TRUE(host.MakeFolder(root.str() + "/B3"));
  host.FailCallNumber(4);
  EXPECT_FALSE(host.IsFolder(root.str() + "/A"));
  EXPECT_TRUE(host.IsFolder(root.str() + "/A"));
  ASSERT_EQ(host.calls().size(), 6u);
  EXPECT_EQ(host.calls()[2].operation, "MakeFolder");
  EXPECT_EQ(host.calls()[2].path, root.str() + "/B2");
  EXPECT_EQ(host.CountCalls("IsFolder"), 2u);
}

TEST(TestHostTest, WritesCanBePartialOrFailAndCopiesCanBreak) {
  TempFolder root;
  platform::LinuxHost real(root.str(), 0);
  platform::TestHost host(real);
  host.maxBytesPerWrite = 2;
  auto file = host.CreateFile(root.str() + "/f", false);
  std::size_t written = 0;
  ASSERT_TRUE(file->Write("abcd", 4, written));
  EXPECT_EQ(written, 2u);
  host.FailOperation("Write");
  EXPECT_FALSE(file->Write("cd", 2, written));
  file->Close();
  EXPECT_EQ(ReadFile(root / "f"), "ab");

  WriteFile(root / "S" / "big", std::string(1000, 'x'));
  host.copyBreaksHalfway = true;
  EXPECT_FALSE(host.CopyTree(root.str() + "/S", root.str() + "/D"));
  EXPECT_EQ(ReadFile(root / "D" / "big").size(), 500u);

  host.ShowMessage("caption", "text", platform::MessageIcon::kError);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "text");
}

}  // namespace
