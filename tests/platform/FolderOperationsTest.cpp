#include <gtest/gtest.h>

#include <filesystem>

#include "platform/LinuxHost.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

class FolderOperationsTest : public ::testing::Test {
 protected:
  TempFolder root;
  platform::LinuxHost host{root.str(), 0};
};

TEST_F(FolderOperationsTest, BackslashPathsReachTheSameFolders) {
  const std::string base = root.str();
  EXPECT_TRUE(host.MakeFolder(base + "\\A"));
  EXPECT_FALSE(host.MakeFolder(base + "/A"));        // exists
  EXPECT_FALSE(host.MakeFolder(base + "\\X\\Y"));    // parent missing
  EXPECT_TRUE(host.MakeFolders(base + "\\X\\Y/Z"));
  EXPECT_TRUE(host.IsFolder(base + "/X//Y\\Z"));
  WriteFile(root / "file", "x");
  EXPECT_TRUE(host.Exists(base + "\\file"));
  EXPECT_FALSE(host.IsFolder(base + "\\file"));
  EXPECT_FALSE(host.MakeFolders(base + "/file"));
  EXPECT_FALSE(host.MakeFolder(""));
}

TEST_F(FolderOperationsTest, RemoveTreeRemovesEverythingButNeverFollowsLinks) {
  WriteFile(root / "outside" / "keep.txt", "keep");
  WriteFile(root / "T" / "a" / "b.txt", "b");
  fs::create_directory_symlink(root / "outside", root / "T" / "a" / "link");
  EXPECT_TRUE(host.RemoveTree(root.str() + "\\T"));
  EXPECT_FALSE(fs::exists(root / "T"));
  EXPECT_EQ(ReadFile(root / "outside" / "keep.txt"), "keep");
  EXPECT_FALSE(host.RemoveTree(root.str() + "/T"));  // already gone
}

TEST_F(FolderOperationsTest, CopyTreeCopiesFilesAndFoldersAndRefusesLinks) {
  WriteFile(root / "S" / "x.xml", "x");
  WriteFile(root / "S" / "sub" / "y.xml", std::string(100000, 'y'));
  fs::create_directory(root / "S" / "empty");
  ASSERT_TRUE(host.CopyTree(root.str() + "\\S", root.str() + "\\D"));
  EXPECT_EQ(ReadFile(root / "D" / "x.xml"), "x");
  EXPECT_EQ(ReadFile(root / "D" / "sub" / "y.xml"), std::string(100000, 'y'));
  EXPECT_TRUE(fs::is_directory(root / "D" / "empty"));
  EXPECT_FALSE(host.CopyTree(root.str() + "/S", root.str() + "/D"));  // target exists

  fs::create_symlink("/etc/passwd", root / "S" / "link");
  EXPECT_FALSE(host.CopyTree(root.str() + "/S", root.str() + "/E"));
  EXPECT_FALSE(host.CopyTree(root.str() + "/missing", root.str() + "/F"));
  EXPECT_FALSE(fs::exists(root / "F"));
}

TEST_F(FolderOperationsTest, RenameNeverReplacesAndExchangeSwaps) {
  WriteFile(root / "A" / "a", "a");
  WriteFile(root / "B" / "b", "b");
  EXPECT_FALSE(host.Rename(root.str() + "/A", root.str() + "/B"));
  EXPECT_TRUE(fs::exists(root / "B" / "b"));
  ASSERT_EQ(host.Exchange(root.str() + "\\A", root.str() + "\\B"),
            platform::ExchangeResult::kExchanged);
  EXPECT_TRUE(fs::exists(root / "A" / "b"));
  EXPECT_TRUE(fs::exists(root / "B" / "a"));
  EXPECT_TRUE(host.Rename(root.str() + "/A", root.str() + "/C"));
  EXPECT_TRUE(fs::exists(root / "C" / "b"));
  EXPECT_EQ(host.Exchange(root.str() + "/A", root.str() + "/B"), platform::ExchangeResult::kFailed);
  EXPECT_TRUE(host.SyncFolder(root.str()));
}

TEST_F(FolderOperationsTest, FilesAreReplacedAndNeverWrittenThroughLinks) {
  WriteFile(root / "f", "old content");
  auto file = host.CreateFile(root.str() + "\\f", false);
  ASSERT_NE(file, nullptr);
  std::size_t written = 0;
  ASSERT_TRUE(file->Write("new", 3, written));
  EXPECT_EQ(written, 3u);
  EXPECT_TRUE(file->Close());
  EXPECT_EQ(ReadFile(root / "f"), "new");

  fs::create_symlink(root / "f", root / "link");
  EXPECT_EQ(host.CreateFile(root.str() + "/link", true), nullptr);
  EXPECT_EQ(ReadFile(root / "f"), "new");
  fs::create_directory(root / "dir");
  EXPECT_EQ(host.CreateFile(root.str() + "/dir", false), nullptr);

  auto input = host.OpenForReading(root.str() + "\\f");
  ASSERT_NE(input, nullptr);
  char buffer[8];
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 3);
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(host.OpenForReading(root.str() + "/missing"), nullptr);
  EXPECT_EQ(host.OpenForReading(root.str() + "/dir"), nullptr);
}

TEST_F(FolderOperationsTest, CurrentDirectoryIsAbsoluteWithoutTrailingSeparator) {
  testing_support::CurrentDirectoryScope scope(root.path());
  std::string cwd;
  ASSERT_TRUE(host.CurrentDirectory(cwd));
  EXPECT_EQ(fs::path(cwd), fs::canonical(root.path()));
  EXPECT_NE(cwd.back(), '/');
}

}  // namespace
