// Writing monitor files: the format library and the program package authors
// run.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(MonitorFileFormatTest, WrapsWithLengthAndChecksumLowByteFirst) {
  EXPECT_EQ(WrapInMonitorFile("abc"), std::string(21, '\0') + std::string("\x03\x00\x26\x01" "abc", 7));
  EXPECT_EQ(WrapInMonitorFile(""), std::string(25, '\0'));
  // The sum wraps modulo 65536: 300 bytes of 0xFF sum to 76500 = 0x12AD4.
  const std::optional<std::string> wrapped = WrapInMonitorFile(std::string(300, '\xFF'));
  ASSERT_TRUE(wrapped.has_value());
  EXPECT_EQ(wrapped->substr(21, 4), std::string("\x2C\x01\xD4\x2A", 4));
}

TEST(MonitorFileFormatTest, LeadingBytesArePaddedOrCutTo21) {
  EXPECT_EQ(WrapInMonitorFile("", "ID").value().substr(0, 21), std::string("ID").append(19, '\0'));
  EXPECT_EQ(WrapInMonitorFile("", std::string(30, 'L')).value().substr(0, 21), std::string(21, 'L'));
  EXPECT_EQ(WrapInMonitorFile("", std::string(30, 'L')).value().size(), 25u);
}

TEST(MonitorFileFormatTest, HoldsAtMost65535Bytes) {
  const std::optional<std::string> largest = WrapInMonitorFile(std::string(65535, 'z'));
  ASSERT_TRUE(largest.has_value());
  EXPECT_EQ(largest->substr(21, 2), "\xFF\xFF");
  EXPECT_FALSE(WrapInMonitorFile(std::string(65536, 'z')).has_value());
}

class WrapMonitorFileProgramTest : public ::testing::Test {
 protected:
  int Run(const std::string& arguments) {
    const std::string command = std::string("'") + WRAP_MONITOR_FILE_PROGRAM + "' " + arguments +
                                " >'" + (root / "out.txt").string() + "' 2>'" +
                                (root / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Quoted(const std::string& name) const {
    std::string quoted = "'";
    quoted += (root / name).string();
    quoted += "'";
    return quoted;
  }

  TempFolder root;
};

TEST_F(WrapMonitorFileProgramTest, WritesTheMonitorFileOfAnArchive) {
  const std::string archive = testing_support::BuildZip({{"M/CAP.xml", "cap"}});
  WriteFile(root / "in.zip", archive);
  EXPECT_EQ(Run(Quoted("in.zip") + " " + Quoted("plain.dat")), 0);
  EXPECT_EQ(ReadFile(root / "plain.dat"), WrapInMonitorFile(archive).value());

  EXPECT_EQ(Run("--header-text 'Lumora 2' " + Quoted("in.zip") + " " + Quoted("text.dat")), 0);
  EXPECT_EQ(ReadFile(root / "text.dat"), WrapInMonitorFile(archive, "Lumora 2").value());

  EXPECT_EQ(Run("--header-hex 00ff10 " + Quoted("in.zip") + " " + Quoted("hex.dat")), 0);
  EXPECT_EQ(ReadFile(root / "hex.dat"), WrapInMonitorFile(archive, std::string("\x00\xff\x10", 3)).value());
  EXPECT_EQ(ReadFile(root / "err.txt"), "");
}

TEST_F(WrapMonitorFileProgramTest, RefusesAnArchiveTooLargeWithAClearMessage) {
  WriteFile(root / "big.zip", std::string(65536, 'b'));
  EXPECT_NE(Run(Quoted("big.zip") + " " + Quoted("big.dat")), 0);
  EXPECT_FALSE(fs::exists(root / "big.dat"));
  EXPECT_NE(ReadFile(root / "err.txt").find("65535"), std::string::npos);

  WriteFile(root / "largest.zip", std::string(65535, 'b'));
  EXPECT_EQ(Run(Quoted("largest.zip") + " " + Quoted("largest.dat")), 0);
  EXPECT_EQ(fs::file_size(root / "largest.dat"), 65535u + 25u);
}

TEST_F(WrapMonitorFileProgramTest, RefusesWrongUseAndExplainsItself) {
  WriteFile(root / "in.zip", "zip");
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(ReadFile(root / "out.txt").find("Usage: wrap-monitor-file"), std::string::npos);
  for (const std::string& arguments :
       {Quoted("in.zip"), "--header-text 0123456789012345678901 " + Quoted("in.zip") + " " + Quoted("x.dat"),
        "--header-hex 0g " + Quoted("in.zip") + " " + Quoted("x.dat"),
        "--header-hex 123 " + Quoted("in.zip") + " " + Quoted("x.dat"),
        "--verbose " + Quoted("in.zip") + " " + Quoted("x.dat"),
        Quoted("missing.zip") + " " + Quoted("x.dat")}) {
    SCOPED_TRACE(arguments);
    EXPECT_NE(Run(arguments), 0);
    EXPECT_NE(ReadFile(root / "err.txt"), "");
    EXPECT_FALSE(fs::exists(root / "x.dat"));
  }
}

}  // namespace
