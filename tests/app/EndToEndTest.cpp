// The built tool run as a user runs it: in a package folder, against a
// records folder, with no display, so that its messages come in the terminal
// form on standard error; standard input is not a terminal but in the last
// test.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/ToolWorkspace.h"

namespace app_testing {
namespace {

using Files = std::vector<std::string>;

const std::string kMainIncompatibleZ =
    InformationBox("Lumora Ver 8.2.1 is not compatible with following monitor(s).\n\nZ.");
const Files kPackageFiles = {"LumoraMonitorFileInfo.xml", "P.lmf"};
const Files kMainInstalled = {"A/CALDEF.xml", "A/CAP.xml", "A/extra.icc", "A/montype.xml"};
// The second product gets only the CALDEF.xml and CAP.xml files.
const Files kSecondInstalled = {"A/CALDEF.xml", "A/CAP.xml", "Z/CALDEF.xml"};
const Files kStagedForMain = {
    "LumoraMonitorFileInfo.xml", "P.lmf",       "P/A/CALDEF.xml", "P/A/CAP.xml",    "P/A/extra.icc",
    "P/A/montype.xml",           "P/P.lmf.zip", "P/Z/CALDEF.xml", "P/Z/montype.xml"};
const Files kStagedForSecond = {"LumoraMonitorFileInfo.xml",
                                "P.lmf",
                                "P/A/CALDEF.xml",
                                "P/A/CAP.xml",
                                "P/P.lmf.zip",
                                "P/Z/CALDEF.xml"};

struct RunTableCase {
  std::string name;
  std::vector<std::string> arguments;
  bool mainInstalled;
  bool secondInstalled;
  std::string messages;  // standard error
  Files mainStore;
  Files secondStore;
  Files packageFolder;  // what the current directory holds afterwards
};

// Names the case in test listings.
void PrintTo(const RunTableCase& c, std::ostream* out) { *out << c.name; }

class RunTableTest : public testing::TestWithParam<RunTableCase> {};

TEST_P(RunTableTest, ProcessesTheProductsTheSwitchesAndRecordsCallFor) {
  const RunTableCase& c = GetParam();
  ToolWorkspace workspace;
  workspace.WriteStandardPackage();
  if (c.mainInstalled) workspace.InstallMain();
  if (c.secondInstalled) workspace.InstallSecond();

  const ToolRun run = workspace.Run(c.arguments);

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, c.messages);
  EXPECT_EQ(FilesBelow(workspace.mainStore()), c.mainStore);
  EXPECT_EQ(FilesBelow(workspace.secondStore()), c.secondStore);
  EXPECT_EQ(FilesBelow(workspace.package()), c.packageFolder);
}

const std::string kSuccess = InformationBox(kSuccessText);

INSTANTIATE_TEST_SUITE_P(
    Tool, RunTableTest,
    testing::Values(
        RunTableCase{"BothInstalled",
                     {},
                     true,
                     true,
                     kMainIncompatibleZ + kSuccess,
                     kMainInstalled,
                     kSecondInstalled,
                     kPackageFiles},
        RunTableCase{"MainInstalled",
                     {},
                     true,
                     false,
                     kMainIncompatibleZ + kSuccess,
                     kMainInstalled,
                     {},
                     kPackageFiles},
        RunTableCase{
            "SecondInstalled", {}, false, true, kSuccess, {}, kSecondInstalled, kPackageFiles},
        // Unrecognised switches are ignored: the messages are still shown.
        RunTableCase{
            "NoneInstalled", {"/Q", "-q", "/q "}, false, false, kSuccess, {}, {}, kPackageFiles},
        RunTableCase{
            "MainExtractNotInstalled", {"/ec"}, false, false, kSuccess, {}, {}, kStagedForMain},
        RunTableCase{
            "MainExtractBothInstalled", {"/ec"}, true, true, kSuccess, {}, {}, kStagedForMain},
        RunTableCase{
            "SecondExtractBothInstalled", {"/ep"}, true, true, kSuccess, {}, {}, kStagedForSecond},
        RunTableCase{"BothExtract", {"/ep", "/ec"}, true, true, kSuccess, {}, {}, kPackageFiles},
        RunTableCase{
            "Quiet", {"/q"}, true, true, "", kMainInstalled, kSecondInstalled, kPackageFiles}),
    [](const testing::TestParamInfo<RunTableCase>& info) { return info.param.name; });

// Lumora's profile store cannot be made (a file stands where its install
// location should be), so the main run fails after staging.
class MainRunFailureTest : public testing::Test {
 protected:
  void SetUp() override {
    workspace_.WriteStandardPackage();
    testing_support::WriteFile(workspace_.root() / "blocked", "not a folder");
    workspace_.Register(
        kMainProductCode,
        "InstallLocation=" + (workspace_.root() / "blocked").string() + "/\nVersionString=8.2.1\n");
    workspace_.InstallSecond();
  }
  ToolWorkspace workspace_;
};

TEST_F(MainRunFailureTest, SuppressesTheSecondRunAndEndsWithTheFailureMessage) {
  const ToolRun run = workspace_.Run({});
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, ErrorBox(kFailureText));
  EXPECT_EQ(FilesBelow(workspace_.secondStore()), Files{});
  EXPECT_EQ(FilesBelow(workspace_.package()), kPackageFiles);  // staging removed
}

TEST_F(MainRunFailureTest, QuietFailureSaysNothing) {
  const ToolRun run = workspace_.Run({"/q"});
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, "");
}

// Both runs find incompatible monitors: Z1 twice and Z2 for Lumora, Z2 for
// Tessaro Hub. The messages come in run order, the names in document order.
struct LanguageCase {
  std::string name;
  std::vector<std::string> environment;
  std::string messages;
};

void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.name; }

class MessageLanguageTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(MessageLanguageTest, ShowsTheMessagesInOrderInTheUsersLanguage) {
  ToolWorkspace workspace;
  workspace.WritePackageInfo(R"(<?xml version="1.0" encoding="UTF-8"?>
<LumoraMonitorFileInfo>
  <profile name="P" src="P.lmf"/>
  <model name="A" version="2" profile="P"/>
  <model name="Z1" version="1" profile="P">
    <supportversion software="Lumora" min="9.0.0"/>
  </model>
  <model name="Z2" version="1" profile="P">
    <supportversion software="Lumora" max="8.2.0"/>
    <supportversion software="Tessaro Hub" min="4"/>
  </model>
  <model name="Z1" version="1" profile="P">
    <supportversion software="Lumora" min="8.2.2"/>
  </model>
</LumoraMonitorFileInfo>
)");
  workspace.WriteMonitorFile(
      "P.lmf",
      {{"A/CALDEF.xml", "<CalDef/>"}, {"Z1/CALDEF.xml", "<CalDef/>"}, {"Z2/CAP.xml", "<Cap/>"}});
  workspace.InstallMain();
  workspace.InstallSecond();

  const ToolRun run = workspace.Run({}, GetParam().environment);

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, GetParam().messages);
  EXPECT_EQ(FilesBelow(workspace.mainStore()), Files{"A/CALDEF.xml"});
  EXPECT_EQ(FilesBelow(workspace.secondStore()), (Files{"A/CALDEF.xml", "Z1/CALDEF.xml"}));
}

INSTANTIATE_TEST_SUITE_P(
    Tool, MessageLanguageTest,
    testing::Values(
        LanguageCase{
            "English",
            {},
            InformationBox(
                "Lumora Ver 8.2.1 is not compatible with following monitor(s).\n\nZ1, Z2, Z1.") +
                InformationBox("Tessaro Hub Ver 3.0.7 is not compatible with following "
                               "monitor(s).\n\nZ2.") +
                InformationBox(kSuccessText)},
        // The locale need not exist: its character set then counts as UTF-8.
        LanguageCase{
            "Japanese",
            {"LANG=ja_JP.UTF-8"},
            InformationBox("Lumora Ver 8.2.1 は以下のモニターに対応していません。\n\nZ1, Z2, Z1.") +
                InformationBox(
                    "Tessaro Hub Ver 3.0.7 は以下のモニターに対応していません。\n\nZ2.") +
                InformationBox("Lumora モニターファイルのインストールを完了しました。")},
        // LC_ALL comes before LANG.
        LanguageCase{
            "AllBeforeLang",
            {"LANG=ja_JP.UTF-8", "LC_ALL=C.UTF-8"},
            InformationBox(
                "Lumora Ver 8.2.1 is not compatible with following monitor(s).\n\nZ1, Z2, Z1.") +
                InformationBox("Tessaro Hub Ver 3.0.7 is not compatible with following "
                               "monitor(s).\n\nZ2.") +
                InformationBox(kSuccessText)}),
    [](const testing::TestParamInfo<LanguageCase>& info) { return info.param.name; });

TEST(FailureMessageTest, JapaneseFailureMessageHasTheErrorIcon) {
  ToolWorkspace workspace;
  workspace.WritePackageInfo("<LumoraMonitorFileInfo><profile");  // not well-formed
  const ToolRun run = workspace.Run({"/ec"}, {"LC_MESSAGES=ja_JP.UTF-8"});
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, ErrorBox("Lumora モニターファイルのインストールに失敗しました。"));
}

}  // namespace
}  // namespace app_testing

namespace app_testing {
namespace {

// With a terminal on standard input, each message waits for Enter.
TEST(TerminalWaitTest, WaitsForEnterWhenStandardInputIsATerminal) {
  ToolWorkspace workspace;
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(grantpt(terminal), 0);
  ASSERT_EQ(unlockpt(terminal), 0);
  const int input = open(ptsname(terminal), O_RDWR | O_NOCTTY);
  ASSERT_GE(input, 0);
  const std::filesystem::path errors = workspace.root() / "stderr";

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addchdir_np(&actions, workspace.package().c_str());
  std::vector<std::string> strings = BaseEnvironment(workspace.records());
  std::vector<char*> environment;
  for (std::string& entry : strings) environment.push_back(entry.data());
  environment.push_back(nullptr);
  std::string program = ToolPath();
  char* argv[] = {program.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environment.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(input);

  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "did not wait";
  EXPECT_EQ(write(terminal, "\n", 1), 1);
  for (int i = 0; i < 200 && waitpid(child, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!WIFEXITED(status)) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  close(terminal);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(testing_support::ReadFile(errors),
            InformationBox(kSuccessText) + "Press Enter to continue.");
}

}  // namespace
}  // namespace app_testing
