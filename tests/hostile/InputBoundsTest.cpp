// The bounds that keep hostile input from costing the machine: what one
// archive may unpack, how large a document is read, and which files are
// read at all. Each is tried right at its edge.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "archive/ExtractZip.h"
#include "archive/UnpackLimits.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/hostile/Footprint.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "xml/DOMExplorer.h"

namespace {

namespace fs = std::filesystem;
using testing_support::BuildZip;
using testing_support::ZipEntry;

class InputBounds : public testing::Test {
 protected:
  InputBounds() : linuxHost(folder.str(), 0), host(linuxHost) {}

  // Extracts an archive of these entries into a fresh folder; the result.
  int Extract(const std::vector<ZipEntry>& entries) {
    testing_support::WriteFile(folder / "archive.zip", BuildZip(entries));
    fs::create_directory(folder / "out");
    return ExtractZip(host, (folder / "archive.zip").string(), (folder / "out").string(), false);
  }
  std::size_t Unpacked() const { return hostile_testing::Picture(folder / "out").size(); }

  testing_support::TempFolder folder;
  platform::LinuxHost linuxHost;
  platform::TestHost host;
};

std::vector<ZipEntry> EmptyFiles(std::uint64_t count) {
  std::vector<ZipEntry> entries;
  for (std::uint64_t i = 0; i < count; ++i) entries.push_back({std::to_string(i), "", 0});
  return entries;
}

TEST_F(InputBounds, AnArchiveWithTheMostEntriesUnpacks) {
  EXPECT_EQ(Extract(EmptyFiles(archive_detail::kMaxEntries)), 0);
  EXPECT_EQ(Unpacked(), archive_detail::kMaxEntries);
}

TEST_F(InputBounds, OneEntryMoreAndNothingIsWritten) {
  EXPECT_EQ(Extract(EmptyFiles(archive_detail::kMaxEntries + 1)), -1);
  EXPECT_EQ(Unpacked(), 0u);
  EXPECT_EQ(host.CountCalls("CreateFile") + host.CountCalls("MakeFolder"), 0u);
}

TEST_F(InputBounds, AnArchiveUnpackingToTheMostBytesUnpacks) {
  const std::size_t most = archive_detail::kMaxUnpackedBytes;
  EXPECT_EQ(Extract({{"big", std::string(most - 1, '\0')}, {"one", "1"}}), 0);
  EXPECT_EQ(fs::file_size(folder / "out/big") + fs::file_size(folder / "out/one"), most);
}

TEST_F(InputBounds, OneByteMoreAndNothingIsWritten) {
  const std::size_t most = archive_detail::kMaxUnpackedBytes;
  EXPECT_EQ(Extract({{"big", std::string(most - 1, '\0')}, {"two", "22"}}), -1);
  EXPECT_EQ(Unpacked(), 0u);
  EXPECT_EQ(host.CountCalls("CreateFile"), 0u);
}

// A document of `size` bytes that is well-formed: text nodes below the
// parser's own limit for one text, between elements.
std::string DocumentOfSize(std::size_t size) {
  const std::string head = "<r><a>";
  const std::string middle = "</a><a>";
  const std::string tail = "</a></r>";
  const std::size_t text = size - head.size() - middle.size() - tail.size();
  return head + std::string(text / 2, ' ') + middle + std::string(text - text / 2, ' ') + tail;
}

TEST_F(InputBounds, ADocumentOfSixteenMebibytesLoadsAndOneByteMoreDoesNot) {
  constexpr std::size_t kMost = std::size_t{16} << 20;
  testing_support::WriteFile(folder / "most.xml", DocumentOfSize(kMost));
  testing_support::WriteFile(folder / "more.xml", DocumentOfSize(kMost + 1));
  DOMExplorer xml(host);
  EXPECT_EQ(xml.Load((folder / "most.xml").string()), 1);
  EXPECT_EQ(xml.Load((folder / "more.xml").string()), 0);
}

TEST_F(InputBounds, OnlyRegularFilesAreOpenedForReading) {
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  testing_support::WriteFile(folder / "file", "content");
  // A named pipe without a writer would block the opening for good; the
  // alarm ends the test program instead.
  alarm(10);
  EXPECT_EQ(linuxHost.OpenForReading((folder / "pipe").string()), nullptr);
  alarm(0);
  EXPECT_EQ(linuxHost.OpenForReading("/dev/zero"), nullptr);
  EXPECT_EQ(linuxHost.OpenForReading(folder.str()), nullptr);

  const auto file = linuxHost.OpenForReading((folder / "file").string());
  ASSERT_NE(file, nullptr);
  char buffer[16];
  EXPECT_EQ(file->Read(buffer, sizeof buffer), 7);
}

}  // namespace
