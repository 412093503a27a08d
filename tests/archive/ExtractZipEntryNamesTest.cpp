// Entry names that would lead outside the destination, or that do not fit the
// name buffer, are refused before anything is created for them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/ExtractZip.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/archive/ArchiveTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

namespace {

namespace fs = std::filesystem;
using archive_tests::ReadTree;
using archive_tests::Tree;
using testing_support::BuildZip;
using testing_support::TempFolder;
using testing_support::WriteFile;
using testing_support::ZipEntry;

class ExtractZipEntryNamesTest : public ::testing::Test {
 protected:
  ExtractZipEntryNamesTest() { fs::create_directories(Destination()); }

  int Extract(const std::vector<ZipEntry>& entries, bool filter = false) {
    WriteFile(root / "archive.zip", BuildZip(entries));
    return ExtractZip(host, (root / "archive.zip").string(), Destination().string(), filter);
  }
  // The destination lies two levels down, so that a name climbing out of it
  // still lands inside the temporary folder, where the test can see it.
  fs::path Destination() const { return root / "up" / "D"; }

  TempFolder root;
  platform::LinuxHost real{root.str(), 0};
  platform::TestHost host{real};
};

// A name of `size` bytes, in folders of 99-byte names, ending in "x.xml".
std::string NameOfLength(std::size_t size) {
  std::string name;
  while (size - name.size() > 105) name += std::string(99, 'n') + "/";
  name += std::string(size - name.size() - 5, 'n');
  return name + "x.xml";
}

// True when no folder was made but the one for the leading "/" of the
// absolute destination, which always fails.
bool NoFolderMade(const platform::TestHost& host) {
  for (const auto& call : host.calls()) {
    if (call.operation == "MakeFolder" && !call.path.empty()) return false;
  }
  return true;
}

TEST_F(ExtractZipEntryNamesTest, NamesLeadingOutsideAreRefusedAndEndTheExtraction) {
  const std::vector<std::string> unsafe = {
      "../escaped.txt",     "../../escaped.txt", "sub/../../escaped.txt", "sub\\..\\..\\escaped.txt",
      "..\\escaped.txt",    "../",               "..",                    "sub/../../CAP.xml",
      "/absolute.txt",      "\\absolute.txt",    "C:escaped.txt",         "c:/escaped.txt",
      "C:\\escaped.txt",    "//server/x.txt",    "d:escaped.txt"};
  for (const std::string& name : unsafe) {
    SCOPED_TRACE(name);
    fs::remove_all(root / "up");
    fs::create_directories(Destination());
    host.ClearCalls();
    EXPECT_EQ(Extract({{"first.txt", "1"}, {name, "evil"}, {"after.txt", "2"}}), -1);
    EXPECT_EQ(ReadTree(root / "up"), (Tree{{"D", std::nullopt}, {"D/first.txt", "1"}}));
    // Nothing was even tried for it: the only file made is the first one.
    EXPECT_EQ(host.CountCalls("CreateFile"), 1u);
    EXPECT_TRUE(NoFolderMade(host));
  }
}

TEST_F(ExtractZipEntryNamesTest, NamesThatOnlyLookAlikeAreExtracted) {
  EXPECT_EQ(Extract({{"..hidden/x.txt", "a"}, {"a..b.txt", "b"}, {".../c.txt", "c"}, {"ab:e.txt", "d"},
                     {"./f.txt", "f"}}),
            0);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"..hidden", std::nullopt},
                                           {"..hidden/x.txt", "a"},
                                           {"a..b.txt", "b"},
                                           {"...", std::nullopt},
                                           {".../c.txt", "c"},
                                           {"ab:e.txt", "d"},
                                           {"f.txt", "f"}}));
}

TEST_F(ExtractZipEntryNamesTest, UnsafeNameTheFilterSkipsIsHarmless) {
  EXPECT_EQ(Extract({{"../other.xml", "evil"}, {"/abs/other.xml", "evil"}, {"M/CAP.xml", "cap"}},
                    /*filter=*/true),
            0);
  EXPECT_EQ(ReadTree(root / "up"),
            (Tree{{"D", std::nullopt}, {"D/M", std::nullopt}, {"D/M/CAP.xml", "cap"}}));
}

TEST_F(ExtractZipEntryNamesTest, NamesOf260BytesOrMoreAreRefused) {
  const std::string longest = NameOfLength(259);
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(Extract({{longest, "fits"}}), 0);
  EXPECT_EQ(testing_support::ReadFile(Destination() / longest), "fits");

  for (const std::size_t size : {260u, 261u, 400u}) {
    SCOPED_TRACE(size);
    const std::string name = NameOfLength(size);
    ASSERT_EQ(name.size(), size);
    fs::remove_all(Destination());
    fs::create_directories(Destination());
    host.ClearCalls();
    EXPECT_EQ(Extract({{"first.txt", "1"}, {name, "too long"}, {"after.txt", "2"}}), -1);
    EXPECT_EQ(ReadTree(Destination()), (Tree{{"first.txt", "1"}}));
    EXPECT_EQ(host.CountCalls("CreateFile"), 1u);
    EXPECT_TRUE(NoFolderMade(host));
  }
}

TEST_F(ExtractZipEntryNamesTest, LongNameIsRefusedUnderTheFilterToo) {
  // Cut short, the name cannot tell whether the filter would let it pass.
  std::string name = NameOfLength(300);
  name.replace(name.size() - 5, 5, "CAP.xml");
  EXPECT_EQ(Extract({{"M/CAP.xml", "cap"}, {name, "long"}, {"M/CALDEF.xml", "cal"}}, /*filter=*/true), -1);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"M", std::nullopt}, {"M/CAP.xml", "cap"}}));
}

}  // namespace
