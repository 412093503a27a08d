// Extraction when writing or reading goes wrong: failed and partial writes,
// read errors and data that do not match their checksum.

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
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;
using testing_support::ZipEntry;

class ExtractZipFaultsTest : public ::testing::Test {
 protected:
  int Extract(const std::string& archiveBytes, bool filter = false) {
    WriteFile(root / "archive.zip", archiveBytes);
    return ExtractZip(host, (root / "archive.zip").string(), Destination().string(), filter);
  }
  fs::path Destination() const { return root / "D"; }

  TempFolder root;
  platform::LinuxHost real{root.str(), 0};
  platform::TestHost host{real};
};

std::string Letters(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return text;
}

TEST_F(ExtractZipFaultsTest, FailedWriteLosesThatChunkButTheExtractionGoesOn) {
  const std::string content = Letters(3000);
  host.FailOperation("Write", "big.txt", /*skip=*/1, /*times=*/1);
  EXPECT_EQ(Extract(BuildZip({{"big.txt", content}, {"later/after.txt", "after"}})), -1);
  // The second chunk of 1024 bytes is missing; the first and third are there.
  EXPECT_EQ(ReadFile(Destination() / "big.txt"), content.substr(0, 1024) + content.substr(2048));
  EXPECT_EQ(ReadFile(Destination() / "later" / "after.txt"), "after");
  EXPECT_EQ(host.CountCalls("WritePause"), host.CountCalls("Write") - 1);
}

TEST_F(ExtractZipFaultsTest, FailedWriteAfterAPartialOneDropsTheRestOfTheChunk) {
  const std::string content = Letters(1024);
  host.maxBytesPerWrite = 300;
  host.FailOperation("Write", "", /*skip=*/1, /*times=*/1);
  EXPECT_EQ(Extract(BuildZip({{"f.txt", content}, {"g.txt", "g"}})), -1);
  EXPECT_EQ(ReadFile(Destination() / "f.txt"), content.substr(0, 300));
  EXPECT_EQ(ReadFile(Destination() / "g.txt"), "g");
  EXPECT_EQ(host.CountCalls("Write"), 3u);
  EXPECT_EQ(host.CountCalls("WritePause"), 2u);
}

TEST_F(ExtractZipFaultsTest, WriteCallThatWritesNothingCountsAsFailed) {
  // Retrying it would never finish the chunk.
  host.maxBytesPerWrite = 0;
  EXPECT_EQ(Extract(BuildZip({{"f.txt", "data"}, {"g.txt", "more"}})), -1);
  EXPECT_EQ(ReadFile(Destination() / "f.txt"), "");
  EXPECT_TRUE(fs::exists(Destination() / "g.txt"));
  EXPECT_EQ(host.CountCalls("WritePause"), 0u);
}

TEST_F(ExtractZipFaultsTest, FailedCloseOfTheOutputFileCountsAsAFailedWrite) {
  host.FailOperation("Close", "f.txt");
  EXPECT_EQ(Extract(BuildZip({{"f.txt", "data"}, {"g.txt", "more"}})), -1);
  EXPECT_EQ(ReadFile(Destination() / "g.txt"), "more");
}

TEST_F(ExtractZipFaultsTest, ReadErrorEndsTheEntryAndTheExtractionAndKeepsThePartialFile) {
  const std::string good = Letters(2000);
  std::string bytes = BuildZip({{"first.txt", "first"},
                                {"broken.txt", archive_tests::DeflateStreamWithDamagedBlock(good), 0},
                                {"after.txt", "after"}});
  testing_support::SetEntryMethod(bytes, 1, 8);
  EXPECT_EQ(Extract(bytes), -1);
  const std::string partial = ReadFile(Destination() / "broken.txt");
  EXPECT_GE(partial.size(), 1024u);
  EXPECT_EQ(partial, good.substr(0, partial.size()));
  EXPECT_EQ(ReadFile(Destination() / "first.txt"), "first");
  EXPECT_FALSE(fs::exists(Destination() / "after.txt"));
}

TEST_F(ExtractZipFaultsTest, ChecksumMismatchOfAWrittenEntryFailsAndEnds) {
  const std::string content = "the stored data " + Letters(100);
  std::string bytes = BuildZip({{"M/CAP.xml", content, 0}, {"M/CALDEF.xml", "after"}});
  const std::size_t at = bytes.find(content);
  ASSERT_NE(at, std::string::npos);
  bytes[at + 4] ^= 0x20;
  std::string corrupted = content;
  corrupted[4] ^= 0x20;

  EXPECT_EQ(Extract(bytes), -1);
  EXPECT_EQ(ReadFile(Destination() / "M" / "CAP.xml"), corrupted);
  EXPECT_FALSE(fs::exists(Destination() / "M" / "CALDEF.xml"));
}

TEST_F(ExtractZipFaultsTest, ChecksumOfAnEntryTheFilterSkipsIsNotChecked) {
  const std::string content = "skipped data " + Letters(100);
  std::string bytes = BuildZip({{"M/other.xml", content, 0}, {"M/CAP.xml", "cap"}});
  bytes[bytes.find(content) + 4] ^= 0x20;
  EXPECT_EQ(Extract(bytes, /*filter=*/true), 0);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"M", std::nullopt}, {"M/CAP.xml", "cap"}}));
}

TEST_F(ExtractZipFaultsTest, FailedFileCreationEndsTheExtraction) {
  host.FailOperation("CreateFile", "b.txt");
  EXPECT_EQ(Extract(BuildZip({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}})), -1);
  EXPECT_EQ(ReadTree(Destination()), (Tree{{"a.txt", "a"}}));
}

}  // namespace
