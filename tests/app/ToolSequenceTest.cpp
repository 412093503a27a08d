// The run sequence of the tool with a scripted job: which steps run, in
// which order, which messages appear between them, and the result.

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/ToolSequence.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"

namespace {

// What the scripted jobs of one test do.
struct JobScript {
  std::set<std::string> failingSteps;  // e.g. "main:StageProfiles"
  std::vector<std::string> mainIncompatible;
  std::vector<std::string> secondIncompatible;
};
const JobScript* script = nullptr;

JobScript Failing(const std::string& step) { return {{step}, {}, {}}; }

// A job whose steps answer as the script says. It records its creation, its
// steps and its destruction as calls of the TestHost, so that one list shows
// the queries, the steps and the messages in the order they happened. Like
// the real job it finds incompatible monitors while installing.
class ScriptedJob {
 public:
  ScriptedJob(platform::Host& host, std::string packageInfoPath, int mainProduct)
      : host_(dynamic_cast<platform::TestHost&>(host)),
        product_(mainProduct != 0 ? "main" : "second") {
    host_.Record(product_ + ":new", packageInfoPath);
    if (mainProduct != 0) {
      m_versionMajor = 8, m_versionMinor = 2, m_versionBuild = 1;
    } else {
      m_versionMajor = 3, m_versionMinor = 0, m_versionBuild = 7;
    }
  }
  ~ScriptedJob() { host_.Record(product_ + ":delete", ""); }
  ScriptedJob(const ScriptedJob&) = delete;
  ScriptedJob& operator=(const ScriptedJob&) = delete;

  int ReadPackageInfo() { return Step("ReadPackageInfo"); }
  int StageProfiles() { return Step("StageProfiles"); }
  int SelectProfiles() { return Step("SelectProfiles"); }
  int InstallProfiles() {
    m_incompatibleMonitors =
        product_ == "main" ? script->mainIncompatible : script->secondIncompatible;
    return Step("InstallProfiles");
  }
  int RemoveStaging() { return Step("RemoveStaging"); }

  std::vector<std::string> m_incompatibleMonitors;
  int m_versionMajor = 0;
  int m_versionMinor = 0;
  int m_versionBuild = 0;

 private:
  int Step(const std::string& name) {
    const std::string step = product_ + ":" + name;
    host_.Record(step, "");
    return script->failingSteps.count(step) > 0 ? 0 : 1;
  }

  platform::TestHost& host_;
  std::string product_;
};

const char* const kMainCode = "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}";
const char* const kSecondCode = "{A07F4E62-9D18-4B3C-8E5A-2C96F1B07D84}";
const std::string kSuccessBox = "Information: Lumora Monitor File has been successfully installed.";
const std::string kFailureBox = "Error: Failed to install Lumora monitor file.";

using Events = std::vector<std::string>;

Events Full(const std::string& product, const Events& beforeDelete = {}) {
  Events events;
  for (const char* step : {"new", "ReadPackageInfo", "StageProfiles", "SelectProfiles",
                           "InstallProfiles", "RemoveStaging"}) {
    events.push_back(product + ":" + step);
  }
  events.insert(events.end(), beforeDelete.begin(), beforeDelete.end());
  events.push_back(product + ":delete");
  return events;
}

Events ExtractOnly(const std::string& product) {
  return {product + ":new", product + ":ReadPackageInfo", product + ":StageProfiles",
          product + ":delete"};
}

Events Join(std::initializer_list<Events> parts) {
  Events all;
  for (const Events& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct RunCase {
  std::string name;
  std::vector<std::string> arguments;  // after the program name
  bool mainInstalled;
  bool secondInstalled;
  JobScript script;
  Events expected;  // job events and boxes ("<icon>: <text>")
  int result;
};

// Names the case in test listings.
void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class ToolRunTest : public testing::Test {
 protected:
  void Install(const char* code) {
    testing_support::WriteFile(records_ / (std::string(code) + ".record"),
                               "InstalledProductName=Product\nInstallLocation=/opt/p/\n");
  }

  int Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "LumoraMonitorFileSetting");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return app::RunToolSequence<ScriptedJob>(host_, static_cast<int>(arguments.size()),
                                             argv.data());
  }

  // The job events and the boxes, in the order they happened.
  Events Happened() const {
    Events events;
    std::size_t box = 0;
    for (const platform::TestHost::Call& call : host_.calls()) {
      if (call.operation.find(':') != std::string::npos) {
        events.push_back(call.operation);
        if (call.operation.ends_with(":new")) {
          EXPECT_EQ(call.path, ".\\LumoraMonitorFileInfo.xml");
        }
      } else if (call.operation == "ShowMessage") {
        const auto& message = host_.messages.at(box++);
        EXPECT_EQ(message.caption, "Lumora Monitor File");
        events.push_back(
            (message.icon == platform::MessageIcon::kError ? "Error: " : "Information: ") +
            message.text);
      }
    }
    return events;
  }

  testing_support::TempFolder records_;
  platform::LinuxHost real_{records_.str(), 0};
  platform::TestHost host_{real_};
};

class ToolSequenceTest : public ToolRunTest, public testing::WithParamInterface<RunCase> {};

TEST_P(ToolSequenceTest, RunsTheStepsAndShowsTheMessages) {
  const RunCase& c = GetParam();
  if (c.mainInstalled) Install(kMainCode);
  if (c.secondInstalled) Install(kSecondCode);
  script = &c.script;
  const int result = Run(c.arguments);
  script = nullptr;

  EXPECT_EQ(result, c.result);
  EXPECT_EQ(Happened(), c.expected);
  EXPECT_EQ(host_.standardOutput, "");
  // Start-up, then both product queries before anything else.
  const auto& calls = host_.calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].operation, "InitializeFramework");
  EXPECT_EQ(calls[1].operation, "QueryProductInfo");
  EXPECT_EQ(calls[1].path, kMainCode);
  EXPECT_EQ(calls[1].second, "InstalledProductName");
  EXPECT_EQ(calls[2].operation, "QueryProductInfo");
  EXPECT_EQ(calls[2].path, kSecondCode);
  EXPECT_EQ(calls[2].second, "InstalledProductName");
  EXPECT_EQ(host_.CountCalls("QueryProductInfo"), 2u);
}

const std::string kMain106 =
    "Information: Lumora Ver 8.2.1 is not compatible with following monitor(s).\r\n\r\n";
const std::string kSecond107 =
    "Information: Tessaro Hub Ver 3.0.7 is not compatible with following monitor(s).\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    RunTable, ToolSequenceTest,
    testing::Values(
        RunCase{"BothInstalled",
                {},
                true,
                true,
                {},
                Join({Full("main"), Full("second"), {kSuccessBox}}),
                0},
        RunCase{"MainInstalled", {}, true, false, {}, Join({Full("main"), {kSuccessBox}}), 0},
        RunCase{"SecondInstalled", {}, false, true, {}, Join({Full("second"), {kSuccessBox}}), 0},
        RunCase{"NoneInstalled", {"-q", "/Q", "/q "}, false, false, {}, {kSuccessBox}, 0},
        RunCase{"MainExtractBoth",
                {"/ec"},
                true,
                true,
                {},
                Join({ExtractOnly("main"), {kSuccessBox}}),
                0},
        RunCase{"MainExtractNone",
                {"/ec"},
                false,
                false,
                {},
                Join({ExtractOnly("main"), {kSuccessBox}}),
                0},
        RunCase{"MainExtractSecond",
                {"/ec"},
                false,
                true,
                {},
                Join({ExtractOnly("main"), {kSuccessBox}}),
                0},
        RunCase{"SecondExtractBoth",
                {"/ep"},
                true,
                true,
                {},
                Join({ExtractOnly("second"), {kSuccessBox}}),
                0},
        RunCase{"SecondExtractNone",
                {"/ep"},
                false,
                false,
                {},
                Join({ExtractOnly("second"), {kSuccessBox}}),
                0},
        RunCase{"SecondExtractMain",
                {"/ep"},
                true,
                false,
                {},
                Join({ExtractOnly("second"), {kSuccessBox}}),
                0},
        RunCase{"BothExtractBoth", {"/ep", "/ec"}, true, true, {}, {kSuccessBox}, 0},
        RunCase{"BothExtractNone", {"/ec", "/ep"}, false, false, {}, {kSuccessBox}, 0},
        RunCase{"QuietBoth", {"/q"}, true, true, {}, Join({Full("main"), Full("second")}), 0},
        RunCase{"QuietNone", {"/q"}, false, false, {}, {}, 0},
        // Failures: the remaining steps, no second run, the failure message.
        RunCase{"MainReadFails",
                {},
                true,
                true,
                Failing("main:ReadPackageInfo"),
                {"main:new", "main:ReadPackageInfo", "main:delete", kFailureBox},
                -1},
        RunCase{"MainStageFails",
                {},
                true,
                true,
                Failing("main:StageProfiles"),
                {"main:new", "main:ReadPackageInfo", "main:StageProfiles", "main:RemoveStaging",
                 "main:delete", kFailureBox},
                -1},
        RunCase{
            "MainExtractStageFails",
            {"/ec"},
            true,
            true,
            Failing("main:StageProfiles"),
            {"main:new", "main:ReadPackageInfo", "main:StageProfiles", "main:delete", kFailureBox},
            -1},
        RunCase{"MainSelectFails",
                {},
                true,
                true,
                Failing("main:SelectProfiles"),
                {"main:new", "main:ReadPackageInfo", "main:StageProfiles", "main:SelectProfiles",
                 "main:RemoveStaging", "main:delete", kFailureBox},
                -1},
        RunCase{"MainInstallFails",
                {},
                true,
                true,
                Failing("main:InstallProfiles"),
                Join({Full("main"), {kFailureBox}}),
                -1},
        RunCase{"MainCleanupFails",
                {},
                true,
                true,
                Failing("main:RemoveStaging"),
                Join({Full("main"), {kFailureBox}}),
                -1},
        RunCase{"SecondInstallFails",
                {},
                true,
                true,
                Failing("second:InstallProfiles"),
                Join({Full("main"), Full("second"), {kFailureBox}}),
                -1},
        RunCase{"SecondExtractStageFails",
                {"/ep"},
                false,
                false,
                Failing("second:StageProfiles"),
                {"second:new", "second:ReadPackageInfo", "second:StageProfiles", "second:delete",
                 kFailureBox},
                -1},
        RunCase{"QuietFailure",
                {"/q"},
                true,
                true,
                {{"main:StageProfiles"}, {"A"}, {}},
                {"main:new", "main:ReadPackageInfo", "main:StageProfiles", "main:RemoveStaging",
                 "main:delete"},
                -1},
        // Incompatible monitors: shown after the run's steps, before the job
        // goes, whatever the outcome.
        RunCase{"IncompatibleBoth",
                {},
                true,
                true,
                {{}, {"A"}, {"X", "Y", "X"}},
                Join({Full("main", {kMain106 + "A."}),
                      Full("second", {kSecond107 + "X, Y, X."}),
                      {kSuccessBox}}),
                0},
        RunCase{"IncompatibleInstallFails",
                {},
                true,
                true,
                {{"main:InstallProfiles"}, {"A", "B", "C"}, {"X"}},
                Join({Full("main", {kMain106 + "A, B, C."}), {kFailureBox}}),
                -1},
        RunCase{"IncompatibleCleanupFails",
                {},
                false,
                true,
                {{"second:RemoveStaging"}, {}, {"X"}},
                Join({Full("second", {kSecond107 + "X."}), {kFailureBox}}),
                -1},
        RunCase{"IncompatibleQuiet",
                {"/q"},
                true,
                true,
                {{}, {"A"}, {"X"}},
                Join({Full("main"), Full("second")}),
                0}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

TEST_F(ToolRunTest, JapaneseMessages) {
  Install(kMainCode);
  Install(kSecondCode);
  host_.language = "ja_JP.UTF-8";
  const JobScript jobs{{"second:InstallProfiles"}, {"A", "B"}, {"X"}};
  script = &jobs;
  EXPECT_EQ(Run({}), -1);
  script = nullptr;
  ASSERT_EQ(host_.messages.size(), 3u);
  EXPECT_EQ(host_.messages[0].text,
            "Lumora Ver 8.2.1 は以下のモニターに対応していません。\r\n\r\nA, B.");
  EXPECT_EQ(host_.messages[1].text,
            "Tessaro Hub Ver 3.0.7 は以下のモニターに対応していません。\r\n\r\nX.");
  EXPECT_EQ(host_.messages[2].text, "Lumora モニターファイルのインストールに失敗しました。");
  EXPECT_EQ(host_.messages[2].icon, platform::MessageIcon::kError);
}

TEST_F(ToolRunTest, StartupFailureWritesTheFixedTextAndDoesNothingElse) {
  Install(kMainCode);
  host_.frameworkStarts = false;
  const JobScript jobs{};
  script = &jobs;
  EXPECT_EQ(Run({"/q"}), 1);
  script = nullptr;
  EXPECT_EQ(host_.standardOutput, "致命的なエラー: MFC の初期化ができませんでした。\n");
  ASSERT_EQ(host_.calls().size(), 2u);
  EXPECT_EQ(host_.calls()[0].operation, "InitializeFramework");
  EXPECT_EQ(host_.calls()[1].operation, "WriteToStandardOutput");
  EXPECT_TRUE(host_.messages.empty());
}

}  // namespace
