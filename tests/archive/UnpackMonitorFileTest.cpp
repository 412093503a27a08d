// The monitor file container: its check, the payload copy and what each
// outcome leaves behind.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "job/UnpackMonitorFile.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// A container written byte by byte, independent of the format library.
std::string Container(const std::string& payload, std::uint16_t length, std::uint16_t checksum) {
  std::string bytes(21, '\x11');
  bytes.push_back(static_cast<char>(length & 0xFF));
  bytes.push_back(static_cast<char>(length >> 8));
  bytes.push_back(static_cast<char>(checksum & 0xFF));
  bytes.push_back(static_cast<char>(checksum >> 8));
  return bytes + payload;
}

std::uint16_t Sum(const std::string& bytes) {
  std::uint16_t sum = 0;
  for (const char c : bytes) sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(c));
  return sum;
}

std::string Payload(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(0xFF - (i * 13) % 256);
  return bytes;
}

class UnpackMonitorFileTest : public ::testing::Test {
 protected:
  UnpackMonitorFileTest() : inRoot(root.path()) { fs::create_directory("P"); }

  // Writes the source "m.dat" and unpacks it into "P".
  int Unpack(const std::string& content) {
    WriteFile("m.dat", content);
    return UnpackMonitorFile(host, "m.dat", "P");
  }
  static fs::path Output() { return "P/m.dat.zip"; }

  TempFolder root;
  testing_support::CurrentDirectoryScope inRoot;
  platform::LinuxHost real{root.str(), 0};
  platform::TestHost host{real};
};

TEST_F(UnpackMonitorFileTest, ValidContainerWritesExactlyThePayload) {
  const std::string payload = "abc";
  // 0x61 + 0x62 + 0x63 = 0x0126, stored low byte first.
  const std::string container = std::string(21, '\0') + std::string("\x03\x00\x26\x01", 4) + payload;
  ASSERT_EQ(container.size(), 28u);
  EXPECT_EQ(Unpack(container), 1);
  EXPECT_EQ(ReadFile(Output()), payload);
  // The path is destination, backslash, source as given, ".zip".
  ASSERT_EQ(host.CountCalls("CreateFile"), 1u);
  for (const auto& call : host.calls()) {
    if (call.operation == "CreateFile") {
      EXPECT_EQ(call.path, "P\\m.dat.zip");
    }
  }
  EXPECT_EQ(ReadFile("m.dat"), container);
}

TEST_F(UnpackMonitorFileTest, EveryOutcomeLeavesItsOutputBehind) {
  const std::string payload = Payload(300);
  const std::uint16_t sum = Sum(payload);
  struct Case {
    const char* title;
    std::string source;
    int result;
    std::string output;
  };
  const Case cases[] = {
      {"shorter than the header", std::string(24, '\x01'), 0, ""},
      {"ends inside the payload", Container(payload.substr(0, 120), 300, sum), 0, payload.substr(0, 120)},
      {"checksum differs", Container(payload, 300, static_cast<std::uint16_t>(sum + 1)), 0, payload},
      {"valid", Container(payload, 300, sum), 1, payload},
      {"trailing bytes ignored", Container(payload, 300, sum) + "trailing", 1, payload},
      {"length 0, checksum 0", Container("", 0, 0), 1, ""},
      {"length 0, checksum not 0", Container("", 0, 1), 0, ""},
      {"length 0 with bytes after it", Container("zip", 0, 0), 1, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.title);
    fs::remove(Output());
    EXPECT_EQ(Unpack(test.source), test.result);
    ASSERT_TRUE(fs::exists(Output()));
    EXPECT_EQ(ReadFile(Output()), test.output);
  }
}

TEST_F(UnpackMonitorFileTest, FailuresBeforeTheOutputIsOpenCreateNothing) {
  EXPECT_EQ(UnpackMonitorFile(host, "missing.dat", "P"), 0);
  EXPECT_EQ(host.CountCalls("CreateFile"), 0u);

  WriteFile("m.dat", Container("abc", 3, Sum("abc")));
  EXPECT_EQ(UnpackMonitorFile(host, "m.dat", "NoSuchFolder"), 0);
  EXPECT_FALSE(fs::exists("NoSuchFolder"));

  host.FailOperation("CreateFile", "", 0, 1);
  EXPECT_EQ(UnpackMonitorFile(host, "m.dat", "P"), 0);
  EXPECT_TRUE(fs::is_empty("P"));
}

TEST_F(UnpackMonitorFileTest, FailedWriteKeepsTheBytesWrittenSoFar) {
  const std::string payload = Payload(50);
  host.FailOperation("Write", "", /*skip=*/20, /*times=*/1);
  EXPECT_EQ(Unpack(Container(payload, 50, Sum(payload))), 0);
  EXPECT_EQ(ReadFile(Output()), payload.substr(0, 20));
}

TEST_F(UnpackMonitorFileTest, ReadErrorInsideThePayloadFails) {
  const std::string payload = Payload(50);
  host.FailOperation("Read", "", /*skip=*/11, /*times=*/1);  // the header, then ten bytes
  EXPECT_EQ(Unpack(Container(payload, 50, Sum(payload))), 0);
  EXPECT_EQ(ReadFile(Output()), payload.substr(0, 10));
}

TEST_F(UnpackMonitorFileTest, FailedCloseOfTheBufferedOutputFails) {
  // Buffered bytes that cannot be flushed are a failed write.
  host.FailOperation("Close");
  EXPECT_EQ(Unpack(Container("abc", 3, Sum("abc"))), 0);
}

TEST_F(UnpackMonitorFileTest, CopiesALengthOf65535WithoutTheCounterWrapping) {
  platform::LinuxHost fast(root.str(), 0);  // 65535 single-byte calls, unrecorded
  const std::string payload = Payload(65535);
  WriteFile("m.dat", Container(payload, 65535, Sum(payload)) + "after");
  EXPECT_EQ(UnpackMonitorFile(fast, "m.dat", "P"), 1);
  EXPECT_EQ(ReadFile(Output()), payload);
}

TEST_F(UnpackMonitorFileTest, ReplacesAnExistingOutputFile) {
  WriteFile(Output(), std::string(1000, 'o'));
  EXPECT_EQ(Unpack(Container("abc", 3, Sum("abc"))), 1);
  EXPECT_EQ(ReadFile(Output()), "abc");
}

TEST_F(UnpackMonitorFileTest, FolderPartsOfTheSourceReappearBelowTheDestination) {
  WriteFile("pkg/m.dat", Container("abc", 3, Sum("abc")));
  EXPECT_EQ(UnpackMonitorFile(host, "pkg/m.dat", "P"), 0);
  EXPECT_TRUE(fs::is_empty("P"));

  fs::create_directory("P/pkg");
  EXPECT_EQ(UnpackMonitorFile(host, "pkg/m.dat", "P"), 1);
  EXPECT_EQ(ReadFile("P/pkg/m.dat.zip"), "abc");
}

TEST_F(UnpackMonitorFileTest, SourceWithAParentPartIsRefusedBeforeAnythingIsOpened) {
  fs::create_directories("P/sub");
  fs::create_directories("sub");
  WriteFile("m.dat", Container("abc", 3, Sum("abc")));
  // Each names a readable source; "../<this folder>/m.dat" would put the copy
  // above the destination, in <this folder>/<this folder>/.
  const std::string here = root.path().filename().string();
  for (const std::string& source : {"../" + here + "/m.dat", "..\\" + here + "\\m.dat",
                                    std::string("sub/../m.dat"), std::string("sub\\..\\m.dat")}) {
    SCOPED_TRACE(source);
    host.ClearCalls();
    EXPECT_EQ(UnpackMonitorFile(host, source, "P"), 0);
    EXPECT_TRUE(host.calls().empty());
  }
  EXPECT_EQ(fs::directory_iterator("P")->path().filename(), "sub");
  EXPECT_TRUE(fs::is_empty("P/sub"));

  // Dots that are not a parent part are ordinary names.
  WriteFile("..m.dat", Container("abc", 3, Sum("abc")));
  EXPECT_EQ(UnpackMonitorFile(host, "..m.dat", "P"), 1);
  EXPECT_EQ(ReadFile("P/..m.dat.zip"), "abc");
}

TEST_F(UnpackMonitorFileTest, PayloadWrittenIsTheArchiveThatWasWrapped) {
  const std::string archive = testing_support::BuildZip({{"M/", ""}, {"M/CAP.xml", "cap"}});
  EXPECT_EQ(Unpack(WrapInMonitorFile(archive).value()), 1);
  EXPECT_EQ(ReadFile(Output()), archive);
}

}  // namespace
