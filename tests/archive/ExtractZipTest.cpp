// Extraction of benign archives on real folders: the tree, the filter, what
// an existing file or folder does, archives without entries or with bytes in
// front, and archives that cannot be read.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ExtractZip.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/archive/ArchiveTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace {

namespace fs = std::filesystem;
using archive_tests::ListArchive;
using archive_tests::ReadTree;
using archive_tests::Tree;
using testing_support::BuildZip;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using testing_support::ZipEntry;

class ExtractZipTest : public ::testing::Test {
 protected:
  std::string WriteArchive(const std::vector<ZipEntry>& entries, const std::string& name = "archive.zip") {
    const fs::path path = root / name;
    WriteFile(path, BuildZip(entries));
    return path.string();
  }
  fs::path Destination() const { return root / "D"; }
  int Extract(const std::string& archive, bool filter) {
    return ExtractZip(host, archive, Destination().string(), filter);
  }

  TempFolder root;
  platform::LinuxHost real{root.str(), 0};
  platform::TestHost host{real};
};

std::string Bytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + seed * 7 + i / 5) & 0xFF);
  return bytes;
}

TEST_F(ExtractZipTest, RecreatesTheFoldersAndFilesOfTheEntryNames) {
  const std::string archive = WriteArchive({{"A/", ""}, {"A/B/x.xml", "<x/>"}, {"y.xml", "why"}});
  EXPECT_EQ(Extract(archive, false), 0);
  const Tree expected = {{"A", std::nullopt},
                         {"A/B", std::nullopt},
                         {"A/B/x.xml", "<x/>"},
                         {"y.xml", "why"}};
  EXPECT_EQ(ReadTree(Destination()), expected);
}

TEST_F(ExtractZipTest, ExtractedTreeEqualsTheArchiveListing) {
  const std::string archive = WriteArchive({
      {"Model One/", ""},
      {"Model One/CALDEF.xml", "<caldef>" + std::string(5000, 'c') + "</caldef>", 8},
      {"Model One/CAP.xml", Bytes(3000, 1), 0},
      {"Model One/deep/er/still/data.bin", Bytes(2048, 2), 8},
      {"Model One/empty.txt", "", 8},
      {"Model One/empty-stored.txt", "", 0},
      {"Model Two/montype.xml", Bytes(1024, 3), 0},
      {"Model Two/sub/", ""},
      {"top.txt", "top", 0},
  });
  ASSERT_EQ(Extract(archive, false), 0);
  const Tree extracted = ReadTree(Destination());
  EXPECT_EQ(extracted, ListArchive(archive));
  ASSERT_EQ(extracted.count("Model One/empty.txt"), 1u);
  EXPECT_EQ(extracted.at("Model One/empty.txt"), std::optional<std::string>(""));
  EXPECT_EQ(extracted.at("Model Two/sub"), std::nullopt);
}

TEST_F(ExtractZipTest, CopiesThroughChunksOfAtMost1024BytesWithAPauseAfterEachWrite) {
  const std::string archive = WriteArchive({{"a.bin", Bytes(2500, 4)}, {"b.bin", Bytes(1024, 5)}});
  ASSERT_EQ(Extract(archive, false), 0);
  EXPECT_EQ(host.CountCalls("Write"), 4u);  // 1024 + 1024 + 452, then 1024
  EXPECT_EQ(host.CountCalls("WritePause"), 4u);
  EXPECT_EQ(ReadFile(Destination() / "a.bin"), Bytes(2500, 4));
}

TEST_F(ExtractZipTest, ShippingHostPausesAfterEachWrite) {
  // The shipping host's pause is set by the build (LMFS_WRITE_PAUSE_MS).
  platform::LinuxHost shipping;
  const std::string archive = WriteArchive({{"a.bin", Bytes(1500, 9)}, {"b.bin", "b"}});
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(ExtractZip(shipping, archive, Destination().string(), false), 0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(3 * LMFS_WRITE_PAUSE_MS));
  EXPECT_EQ(ReadFile(Destination() / "a.bin"), Bytes(1500, 9));
}

TEST_F(ExtractZipTest, ResumesPartialWritesAtTheFirstByteNotWritten) {
  host.maxBytesPerWrite = 100;
  const std::string content = Bytes(2100, 6);
  const std::string archive = WriteArchive({{"f.bin", content}});
  ASSERT_EQ(Extract(archive, false), 0);
  EXPECT_EQ(ReadFile(Destination() / "f.bin"), content);
  // 1024 takes 11 calls, twice, and the last 52 bytes one more.
  EXPECT_EQ(host.CountCalls("Write"), 23u);
  EXPECT_EQ(host.CountCalls("WritePause"), 23u);
}

TEST_F(ExtractZipTest, WorksWithTheStagingDestinationsMixedSeparators) {
  // The staging step passes a destination ending with a backslash; the
  // extraction adds "/" behind it.
  testing_support::CurrentDirectoryScope inRoot(root.path());
  const std::string archive = WriteArchive({{"M/", ""}, {"M/CAP.xml", "cap"}});
  fs::create_directory(root / "Profile");
  std::string current;
  ASSERT_TRUE(host.CurrentDirectory(current));
  EXPECT_EQ(ExtractZip(host, archive, current + "\\Profile\\", false), 0);
  EXPECT_EQ(ReadFile(root / "Profile" / "M" / "CAP.xml"), "cap");
}

struct FilterCase {
  const char* title;
  std::vector<ZipEntry> entries;
  const char* destinationName;
  Tree expected;
};

class ExtractZipFilterTest : public ExtractZipTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(ExtractZipFilterTest, UnpacksOnlyEntriesWhoseOutputPathHoldsAName) {
  const FilterCase& test = GetParam();
  const std::string archive = WriteArchive(test.entries);
  const fs::path destination = root / test.destinationName;
  EXPECT_EQ(ExtractZip(host, archive, destination.string(), true), 0);
  EXPECT_EQ(ReadTree(destination), test.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ExtractZip, ExtractZipFilterTest,
    ::testing::Values(
        FilterCase{"FolderEntrySkippedButMadeByItsFiles",
                   {{"M/", ""}, {"M/CALDEF.xml", "cal"}, {"M/CAP.xml", "cap"}, {"M/other.xml", "o"}},
                   "D",
                   {{"M", std::nullopt}, {"M/CALDEF.xml", "cal"}, {"M/CAP.xml", "cap"}}},
        FilterCase{"TextAnywhereInTheNameAndCaseSensitive",
                   {{"M/CAP.xml.bak", "bak"}, {"M/cap.xml", "lower"}, {"CALDEF.xml/inner.txt", "in"}},
                   "D",
                   {{"M", std::nullopt},
                    {"M/CAP.xml.bak", "bak"},
                    {"CALDEF.xml", std::nullopt},
                    {"CALDEF.xml/inner.txt", "in"}}},
        FilterCase{"DestinationHoldingTheTextLetsEverythingPass",
                   {{"M/", ""}, {"M/other.xml", "o"}, {"M/E/", ""}},
                   "CAP.xml",
                   {{"M", std::nullopt}, {"M/other.xml", "o"}, {"M/E", std::nullopt}}}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.title); });

TEST_F(ExtractZipTest, FilterDoesNotCreateOrReadSkippedEntries) {
  fs::create_directory(Destination());
  const std::string archive = WriteArchive({{"M/other.xml", "o"}, {"N/x/y.txt", "y"}});
  EXPECT_EQ(Extract(archive, true), 0);
  EXPECT_TRUE(fs::is_empty(Destination()));
  EXPECT_EQ(host.CountCalls("MakeFolder") + host.CountCalls("Exists") + host.CountCalls("CreateFile"), 0u);
}

TEST_F(ExtractZipTest, ReplacesAnExistingFile) {
  WriteFile(Destination() / "M" / "CAP.xml", std::string(4000, 'o'));
  const std::string archive = WriteArchive({{"M/CAP.xml", "new"}});
  EXPECT_EQ(Extract(archive, false), 0);
  EXPECT_EQ(ReadFile(Destination() / "M" / "CAP.xml"), "new");
}

TEST_F(ExtractZipTest, FolderAtAFilePathEndsTheExtraction) {
  fs::create_directories(Destination() / "M" / "CAP.xml");
  const std::string archive =
      WriteArchive({{"M/first.txt", "1"}, {"M/CAP.xml", "cap"}, {"M/after.txt", "2"}});
  EXPECT_EQ(Extract(archive, false), -1);
  EXPECT_EQ(ReadFile(Destination() / "M" / "first.txt"), "1");
  EXPECT_TRUE(fs::is_directory(Destination() / "M" / "CAP.xml"));
  EXPECT_FALSE(fs::exists(Destination() / "M" / "after.txt"));
}

TEST_F(ExtractZipTest, FileWhereAFolderBelongsEndsTheExtraction) {
  WriteFile(Destination() / "M", "a file, not a folder");
  const std::string archive = WriteArchive({{"M/CAP.xml", "cap"}, {"after.txt", "2"}});
  EXPECT_EQ(Extract(archive, false), -1);
  EXPECT_EQ(ReadFile(Destination() / "M"), "a file, not a folder");
  EXPECT_FALSE(fs::exists(Destination() / "after.txt"));
}

TEST_F(ExtractZipTest, ArchiveWithoutEntriesGivesSuccessAndCreatesNothing) {
  // As the staging step reads it: the monitor file, header in front.
  const std::string empty = BuildZip({});
  WriteFile(root / "empty.dat", WrapInMonitorFile(empty).value());
  EXPECT_EQ(Extract((root / "empty.dat").string(), false), 0);
  EXPECT_EQ(Extract((root / "empty.dat").string(), true), 0);
  EXPECT_FALSE(fs::exists(Destination()));

  // Bare, its end record stands at offset 0, which minizip's unzOpen takes
  // for "no record found": the archive cannot be opened at all.
  WriteFile(root / "empty.zip", empty);
  EXPECT_EQ(Extract((root / "empty.zip").string(), false), -1);
  EXPECT_FALSE(fs::exists(Destination()));
}

TEST_F(ExtractZipTest, ArchiveWithOtherBytesInFrontGivesTheSameFiles) {
  const std::vector<ZipEntry> entries = {
      {"A/", ""}, {"A/B/x.xml", Bytes(3000, 7), 8}, {"A/s.bin", Bytes(1500, 8), 0}, {"y.xml", "y"}};
  const std::string bare = BuildZip(entries);
  WriteFile(root / "bare.zip", bare);
  WriteFile(root / "monitor.dat", WrapInMonitorFile(bare, "made by the tests").value());
  WriteFile(root / "prefixed.zip", std::string(1000, '\x5A') + bare);

  ASSERT_EQ(ExtractZip(host, (root / "bare.zip").string(), (root / "bare").string(), false), 0);
  ASSERT_EQ(ExtractZip(host, (root / "monitor.dat").string(), (root / "monitor").string(), false), 0);
  ASSERT_EQ(ExtractZip(host, (root / "prefixed.zip").string(), (root / "prefixed").string(), false), 0);
  const Tree expected = ReadTree(root / "bare");
  EXPECT_EQ(expected, ListArchive(root / "bare.zip"));
  EXPECT_EQ(ReadTree(root / "monitor"), expected);
  EXPECT_EQ(ReadTree(root / "prefixed"), expected);
}

TEST_F(ExtractZipTest, ArchiveThatCannotBeOpenedFailsAndCreatesNothing) {
  WriteFile(root / "garbage.zip", std::string(300, 'g'));
  WriteFile(root / "truncated.zip", BuildZip({{"a.txt", "a"}}).substr(0, 40));
  fs::create_directory(root / "folder.zip");
  for (const char* name : {"missing.zip", "garbage.zip", "truncated.zip", "folder.zip"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Extract((root / name).string(), false), -1);
    EXPECT_FALSE(fs::exists(Destination()));
  }
}

TEST_F(ExtractZipTest, UnsupportedMethodEndsTheExtractionEvenWhenFiltered) {
  // Method 12 is one that minizip knows by id but cannot decompress here.
  for (const int method : {12, 14, 99}) {
    for (const bool filter : {false, true}) {
      SCOPED_TRACE(testing::Message() << "method " << method << (filter ? " filtered" : ""));
      const fs::path destination = root / ("out" + std::to_string(method) + (filter ? "f" : ""));
      const std::string archive = WriteArchive(
          {{"M/CAP.xml", "cap"}, {"M/other.bin", "raw data", method}, {"M/CALDEF.xml", "cal"}});
      EXPECT_EQ(ExtractZip(host, archive, destination.string(), filter), -1);
      EXPECT_EQ(ReadTree(destination), (Tree{{"M", std::nullopt}, {"M/CAP.xml", "cap"}}));
    }
  }
}

TEST_F(ExtractZipTest, DamagedLocalHeaderEndsTheExtraction) {
  std::string bytes = BuildZip({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
  const std::size_t second = bytes.find("PK\x03\x04", 1);
  ASSERT_NE(second, std::string::npos);
  bytes[second + 2] = 'X';
  WriteFile(root / "damaged.zip", bytes);
  EXPECT_EQ(Extract((root / "damaged.zip").string(), false), -1);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"a.txt", "a"}}));
}

TEST_F(ExtractZipTest, FailureToReachTheNextEntryEndsTheExtraction) {
  std::string bytes = BuildZip({{"a.txt", "a"}, {"b.txt", "b"}});
  const std::size_t secondCentral = bytes.find("PK\x01\x02", bytes.find("PK\x01\x02") + 1);
  ASSERT_NE(secondCentral, std::string::npos);
  bytes[secondCentral + 3] = 'X';
  WriteFile(root / "damaged.zip", bytes);
  EXPECT_EQ(Extract((root / "damaged.zip").string(), false), -1);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"a.txt", "a"}}));
}

}  // namespace
