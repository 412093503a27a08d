#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/CreateFolderPath.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

class CreateFolderPathTest : public ::testing::Test {
 protected:
  CreateFolderPathTest() : inRoot(root.path()) {}

  std::vector<std::string> PathsOf(const std::string& operation) const {
    std::vector<std::string> paths;
    for (const auto& call : host.calls()) {
      if (call.operation == operation) paths.push_back(call.path);
    }
    return paths;
  }

  TempFolder root;
  testing_support::CurrentDirectoryScope inRoot;
  platform::LinuxHost real{root.str(), 0};
  platform::TestHost host{real};
};

TEST_F(CreateFolderPathTest, MakesEveryLevelButTheLast) {
  CreateFolderPath(host, "D/A/B/x.xml", "");
  EXPECT_TRUE(fs::is_directory("D/A/B"));
  EXPECT_FALSE(fs::exists("D/A/B/x.xml"));
  EXPECT_EQ(PathsOf("MakeFolder"), (std::vector<std::string>{"D", "D/A", "D/A/B"}));

  CreateFolderPath(host, "E/F/", "");
  EXPECT_TRUE(fs::is_directory("E/F"));
}

TEST_F(CreateFolderPathTest, LeavesExistingNamesAlone) {
  fs::create_directory("D");
  testing_support::WriteFile("D/file", "x");
  CreateFolderPath(host, "D/file/x.xml", "");
  EXPECT_EQ(PathsOf("Exists"), (std::vector<std::string>{"D", "D/file"}));
  EXPECT_TRUE(PathsOf("MakeFolder").empty());
  EXPECT_EQ(testing_support::ReadFile("D/file"), "x");
}

TEST_F(CreateFolderPathTest, SplitsOnlyOnForwardSlashesAndPutsThePrefixInFront) {
  fs::create_directory("P");
  CreateFolderPath(host, "Q\\R/S/name", "P/");
  EXPECT_EQ(PathsOf("MakeFolder"), (std::vector<std::string>{"P/Q\\R", "P/Q\\R/S"}));

  host.ClearCalls();
  CreateFolderPath(host, "no-separator", "");
  CreateFolderPath(host, "", "");
  EXPECT_TRUE(host.calls().empty());
}

TEST_F(CreateFolderPathTest, FolderThatCannotBeMadeIsNotReported) {
  host.FailOperation("MakeFolder", "A");
  CreateFolderPath(host, "A/B/C/x", "");
  // Every level is still tried; the caller's file creation shows the fault.
  EXPECT_EQ(PathsOf("MakeFolder"), (std::vector<std::string>{"A", "A/B", "A/B/C"}));
  EXPECT_FALSE(fs::exists("A"));
}

}  // namespace
