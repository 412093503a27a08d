// A three-model installation through the tool's whole run sequence, once
// cleanly and then once for every host call it makes with that one call
// failed, once with a folder copy that breaks off halfway through a file,
// and once more for every call of the installation step on a file system
// without an atomic exchange.
//
// After every run:
// - each model folder in the store is the old complete one or the new
//   complete one (a new model: absent or complete), and the model the package
//   does not name is untouched;
// - nothing was written outside the package folder and the store, neither by
//   the recorded calls nor on disk;
// - the package's own files are unchanged, and no staging folder is left
//   unless the failed call was in the step that creates them (the driver runs
//   no cleanup after it) or in the cleanup itself;
// - a transient folder beside a model (".A.lmfs-old" and the like) is left
//   only when the failed call was its own removal or the flush of the store
//   that comes before that removal;
// - the result is a failure whenever a staging folder is left, and whenever
//   the store is not fully new. The only exception is a failed "is the
//   product installed" query: the product then counts as not installed and
//   the tool rightly does nothing at all.
// A run that reports failure therefore never comes with a damaged store, and a
// failed call that the run survives with success (a failed pause, a failed
// look-up of an installed profile, which merely selects it) is harmless.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/ToolSequence.h"
#include "job/HostProduct.h"
#include "job/ModelFolderReplacement.h"
#include "job/MonitorFileJob.h"
#include "tests/hostile/Footprint.h"
#include "tests/job/PackageFixture.h"

namespace {

namespace fs = std::filesystem;
using job_testing::FolderNames;
using job_testing::ModelFiles;
using job_testing::MonitorType;
using job_testing::PackageFixture;
using job_testing::ReadTree;
using job_testing::Tree;
using hostile_testing::Files;
using hostile_testing::TreeOf;

// --- The installation ---------------------------------------------------------

// A and B are installed at profile version 1 and come in version 2 in the
// profile "Pro"; C is new and comes in "Home"; D is installed and not in the
// package.
const Files kOldA = {{"montype.xml", MonitorType(1)},
                     {"CALDEF.xml", "A calibration, first edition"},
                     {"notes.txt", "only in the old profile"}};
const Files kNewA = {{"montype.xml", MonitorType(2)},
                     {"CALDEF.xml", "A calibration, second edition"},
                     {"tables/gamma.bin", std::string(300, 'g')}};
const Files kOldB = {{"montype.xml", MonitorType(1)}, {"CAP.xml", "B capabilities, first edition"}};
const Files kNewB = {{"montype.xml", MonitorType(2)}, {"CAP.xml", "B capabilities, second edition"}};
const Files kNewC = {{"montype.xml", MonitorType(3)}, {"CAP.xml", "C capabilities"}};
const Files kD = {{"montype.xml", MonitorType(7)}, {"CAP.xml", "D, not in the package"}};

const char* const kDescription = R"(
  <profile name="Pro" src="pro.lmf"/>
  <profile name="Home" src="home.lmf"/>
  <model name="A" version="2" profile="Pro">
    <supportversion software="Lumora" max="99.0.0"/>
  </model>
  <model name="B" version="2" profile="Pro"/>
  <model name="C" version="3" profile="Home"/>)";

const std::set<std::string> kPackageFiles = {"LumoraMonitorFileInfo.xml", "home.lmf", "pro.lmf"};
const std::set<std::string> kStagingFolders = {"Home", "Pro"};

void WriteFolder(const fs::path& folder, const Files& files) {
  for (const auto& [path, content] : files) testing_support::WriteFile(folder / path, content);
}

// --- Runs with the steps marked -------------------------------------------------

enum class Step { kStartUp, kReadPackageInfo, kStageProfiles, kSelectProfiles, kInstallProfiles, kRemoveStaging };

const char* StepName(Step step) {
  switch (step) {
    case Step::kStartUp: return "start-up";
    case Step::kReadPackageInfo: return "ReadPackageInfo";
    case Step::kStageProfiles: return "StageProfiles";
    case Step::kSelectProfiles: return "SelectProfiles";
    case Step::kInstallProfiles: return "InstallProfiles";
    case Step::kRemoveStaging: return "RemoveStaging";
  }
  return "";
}

// A TestHost that also notes at which call each step of the job began.
class StepMarkingHost : public platform::TestHost {
 public:
  using TestHost::TestHost;
  void Mark(Step step) { stepStarts_.emplace_back(step, calls().size()); }
  // The step in which the call with this index was made; calls before the
  // first step are the driver's start-up and the job's construction.
  Step StepOfCall(std::size_t index) const {
    Step step = Step::kStartUp;
    for (const auto& [marked, start] : stepStarts_) {
      if (start <= index) step = marked;
    }
    return step;
  }

 private:
  std::vector<std::pair<Step, std::size_t>> stepStarts_;
};

// The tool's job, noting on its host where each step begins. The driver's
// sequence is a template over the job type, so running it with this job runs
// exactly what the tool runs.
class MarkedJob : public MonitorFileJob {
 public:
  MarkedJob(platform::Host& host, std::string packageInfoPath, int mainProduct)
      : MonitorFileJob(host, std::move(packageInfoPath), mainProduct),
        marks_(dynamic_cast<StepMarkingHost&>(host)) {}
  int ReadPackageInfo() { return Marked(Step::kReadPackageInfo, &MonitorFileJob::ReadPackageInfo); }
  int StageProfiles() { return Marked(Step::kStageProfiles, &MonitorFileJob::StageProfiles); }
  int SelectProfiles() { return Marked(Step::kSelectProfiles, &MonitorFileJob::SelectProfiles); }
  int InstallProfiles() { return Marked(Step::kInstallProfiles, &MonitorFileJob::InstallProfiles); }
  int RemoveStaging() { return Marked(Step::kRemoveStaging, &MonitorFileJob::RemoveStaging); }

 private:
  int Marked(Step step, int (MonitorFileJob::*run)()) {
    marks_.Mark(step);
    return (this->*run)();
  }
  StepMarkingHost& marks_;
};

// What is forced on one run.
struct Fault {
  std::optional<std::size_t> failedCall;  // the index of the call to fail
  platform::TestHost::Call call;          // that call, as the clean run made it
  Step step = Step::kStartUp;             // the step it belongs to
  bool copyBreaksHalfway = false;
  bool exchangeUnsupported = false;

  std::string Describe() const {
    std::ostringstream text;
    if (failedCall) {
      text << "call " << *failedCall << " (" << call.operation << " " << call.path;
      if (!call.second.empty()) text << " | " << call.second;
      text << ") in " << StepName(step);
    }
    if (copyBreaksHalfway) text << " copy breaks halfway";
    if (exchangeUnsupported) text << " without exchange";
    return text.str();
  }
};

// One installation in fresh folders: the package, the records with the main
// product installed, the store with A, B and D, and a sentinel folder beside
// the package folder.
class Installation {
 public:
  Installation() : root_(fixture_.packageFolder().parent_path()), host_(fixture_.linuxHost) {
    fixture_.RegisterProduct(1, "8.2.1");
    fixture_.WriteDescription(kDescription);
    fixture_.WriteMonitorFile("pro.lmf", std::vector<ModelFiles>{{"A", kNewA}, {"B", kNewB}});
    fixture_.WriteMonitorFile("home.lmf", std::vector<ModelFiles>{{"C", kNewC}});
    WriteFolder(fixture_.StoredModel("A"), kOldA);
    WriteFolder(fixture_.StoredModel("B"), kOldB);
    WriteFolder(fixture_.StoredModel("D"), kD);
    WriteFolder(root_ / "sentinel", {{"keep.txt", "beside the package"}, {"inner/keep.bin", "deeper"}});
    packageBefore_ = ReadTree(package());
    outsideBefore_ = Outside();
  }

  // Runs the tool's sequence quietly with `fault` forced; the exit code.
  int Run(const Fault& fault) {
    if (fault.failedCall) host_.FailCallNumber(*fault.failedCall);
    host_.copyBreaksHalfway = fault.copyBreaksHalfway;
    host_.exchangeUnsupported = fault.exchangeUnsupported;
    std::string program = "LumoraMonitorFileSetting";
    std::string quiet = "/q";
    char* argv[] = {program.data(), quiet.data(), nullptr};
    return app::RunToolSequence<MarkedJob>(host_, 2, argv);
  }

  const StepMarkingHost& host() const { return host_; }

  // Everything that breaks the rules above, one line each.
  std::vector<std::string> Problems(const Fault& fault, int exitCode) const {
    std::vector<std::string> problems;
    CheckWrites(problems);
    const bool stagingLeft = CheckPackage(fault, problems);
    if (stagingLeft && exitCode == 0) problems.push_back("success reported with a staging folder left");
    const bool fullyNew = CheckStore(fault, problems);
    if (exitCode != 0 && exitCode != -1 && exitCode != 1) {
      problems.push_back("exit code " + std::to_string(exitCode));
    }
    const bool notInstalled = fault.failedCall && fault.call.operation == "QueryProductInfo" &&
                              fault.call.path == job::kMainProductCode &&
                              fault.call.second == "InstalledProductName";
    if (notInstalled) {
      // No run: the store and the package stay exactly as they were.
      if (exitCode != 0) problems.push_back("a product taken as not installed failed the tool");
      if (!IsOld()) problems.push_back("a product taken as not installed got its store changed");
    } else if (exitCode == 0 && !fullyNew) {
      problems.push_back("success reported while the store is not fully new");
    }
    return problems;
  }

  bool IsFullyNew() const {
    return ReadTree(Store() / "A") == TreeOf(kNewA) && ReadTree(Store() / "B") == TreeOf(kNewB) &&
           ReadTree(Store() / "C") == TreeOf(kNewC);
  }
  bool IsOld() const {
    return ReadTree(Store() / "A") == TreeOf(kOldA) && ReadTree(Store() / "B") == TreeOf(kOldB) &&
           !fs::exists(Store() / "C");
  }
  std::vector<std::string> StoreNames() const { return FolderNames(Store()); }
  std::vector<std::string> PackageNames() const { return FolderNames(package()); }

 private:
  fs::path package() const { return fixture_.packageFolder(); }
  fs::path Store() const { return fixture_.StoreFolder(); }
  Tree Outside() const { return hostile_testing::Picture(root_, {package(), Store()}); }

  void CheckWrites(std::vector<std::string>& problems) const {
    for (const platform::TestHost::Call& call : host_.calls()) {
      for (const std::string& path : hostile_testing::WrittenPaths(call)) {
        const fs::path onDisk = hostile_testing::OnDisk(path, package());
        // The extraction makes sure of every folder along its absolute output
        // paths, the package folder's own parents among them and first the
        // empty name: those exist (or are refused) and stay as they are.
        const bool madeSure = call.operation == "MakeFolder" &&
                              (path.empty() || hostile_testing::IsSame(onDisk, package()) ||
                               hostile_testing::IsBelow(package(), onDisk));
        const bool allowed = madeSure || hostile_testing::IsBelow(onDisk, package()) ||
                             hostile_testing::IsBelow(onDisk, package()) ||
                             hostile_testing::IsBelow(onDisk, Store()) ||
                             (call.operation == "MakeFolders" && hostile_testing::IsSame(onDisk, Store()));
        if (!allowed) problems.push_back(call.operation + " wrote outside: " + path);
      }
    }
    if (Outside() != outsideBefore_) problems.push_back("a folder outside package and store changed");
  }

  // True when a staging folder is left.
  bool CheckPackage(const Fault& fault, std::vector<std::string>& problems) const {
    const Tree now = ReadTree(package());
    for (const std::string& name : kPackageFiles) {
      if (now.count(name) == 0 || now.at(name) != packageBefore_.at(name)) {
        problems.push_back("package file changed: " + name);
      }
    }
    const bool cleanupSkipped = fault.failedCall && (fault.step == Step::kReadPackageInfo ||
                                                     fault.step == Step::kRemoveStaging);
    bool stagingLeft = false;
    for (const std::string& name : PackageNames()) {
      if (kPackageFiles.count(name) != 0) continue;
      stagingLeft = true;
      if (kStagingFolders.count(name) == 0 || !cleanupSkipped) {
        problems.push_back("left in the package folder: " + name);
      }
    }
    return stagingLeft;
  }

  // True when the store is fully new.
  bool CheckStore(const Fault& fault, std::vector<std::string>& problems) const {
    const std::map<std::string, std::vector<Tree>> complete = {
        {"A", {TreeOf(kOldA), TreeOf(kNewA)}},
        {"B", {TreeOf(kOldB), TreeOf(kNewB)}},
        {"C", {TreeOf(kNewC)}},
        {"D", {TreeOf(kD)}}};
    std::set<std::string> transient;
    for (const char* model : {"A", "B", "C"}) {
      transient.insert(job::NewCopyName(model));
      transient.insert(job::OldFolderName(model));
    }
    const std::vector<std::string> names = StoreNames();
    for (const char* model : {"A", "B", "D"}) {
      if (std::find(names.begin(), names.end(), model) == names.end()) {
        problems.push_back(std::string("model lost: ") + model);
      }
    }
    for (const std::string& name : names) {
      if (complete.count(name) != 0) {
        const std::vector<Tree>& allowed = complete.at(name);
        if (std::find(allowed.begin(), allowed.end(), ReadTree(Store() / name)) == allowed.end()) {
          problems.push_back("model folder neither old nor new: " + name);
        }
      } else if (transient.count(name) != 0) {
        // Left only when its own removal, or the flush before it, failed.
        const bool explained =
            fault.failedCall &&
            ((fault.call.operation == "RemoveTree" &&
              hostile_testing::OnDisk(fault.call.path, package()).filename() == name) ||
             fault.call.operation == "SyncFolder");
        if (!explained) problems.push_back("transient folder left: " + name);
      } else {
        problems.push_back("unknown name in the store: " + name);
      }
    }
    return IsFullyNew();
  }

  PackageFixture fixture_;
  fs::path root_;
  StepMarkingHost host_;
  Tree packageBefore_;
  Tree outsideBefore_;
};

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

// The clean run's calls, for choosing which to fail.
struct CleanRun {
  std::vector<platform::TestHost::Call> calls;
  std::vector<Step> steps;
};

CleanRun RunCleanly(bool exchangeUnsupported) {
  Installation installation;
  Fault none;
  none.exchangeUnsupported = exchangeUnsupported;
  const int exitCode = installation.Run(none);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(installation.IsFullyNew());
  EXPECT_EQ(installation.StoreNames(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(Join(installation.Problems(none, exitCode)), "");
  CleanRun clean{installation.host().calls(), {}};
  for (std::size_t i = 0; i < clean.calls.size(); ++i) clean.steps.push_back(installation.host().StepOfCall(i));
  return clean;
}

// Fails each chosen call of the clean run in a run of its own; the problems
// found, by run.
std::string FailEachCall(const CleanRun& clean, const std::vector<std::size_t>& indices,
                         bool exchangeUnsupported) {
  std::vector<std::string> problems;
  for (const std::size_t index : indices) {
    Fault fault;
    fault.failedCall = index;
    fault.call = clean.calls[index];
    fault.step = clean.steps[index];
    fault.exchangeUnsupported = exchangeUnsupported;
    Installation installation;
    const int exitCode = installation.Run(fault);
    for (const std::string& problem : installation.Problems(fault, exitCode)) {
      problems.push_back(fault.Describe() + ": " + problem);
    }
  }
  return Join(problems);
}

// Every call of the clean run, except for the reads and writes of one file:
// of those only the first two, the middle one and the last. A monitor
// file's payload is checked and copied one byte per call, and failing any
// byte of it ends the copy the same way; these are nine in ten of all calls.
std::vector<std::size_t> CallsToFail(const CleanRun& clean) {
  std::vector<std::size_t> indices;
  std::map<std::pair<std::string, std::string>, std::vector<std::size_t>> perFile;
  for (std::size_t i = 0; i < clean.calls.size(); ++i) {
    const platform::TestHost::Call& call = clean.calls[i];
    if (call.operation == "Read" || call.operation == "Write") {
      perFile[{call.operation, call.path}].push_back(i);
    } else {
      indices.push_back(i);
    }
  }
  for (const auto& [file, calls] : perFile) {
    const std::set<std::size_t> chosen = {calls[0], calls[std::min<std::size_t>(1, calls.size() - 1)],
                                          calls[calls.size() / 2], calls.back()};
    indices.insert(indices.end(), chosen.begin(), chosen.end());
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}

TEST(FaultInjection, EveryFailedCallLeavesEachModelOldOrNewAndReportsWhatMatters) {
  const CleanRun clean = RunCleanly(false);
  const std::vector<std::size_t> indices = CallsToFail(clean);
  RecordProperty("calls", static_cast<int>(clean.calls.size()));
  RecordProperty("runs", static_cast<int>(indices.size()));
  EXPECT_EQ(FailEachCall(clean, indices, false), "");
}

TEST(FaultInjection, ACopyThatBreaksOffHalfwayLeavesTheOldModelsAndFails) {
  Installation installation;
  Fault fault;
  fault.copyBreaksHalfway = true;
  const int exitCode = installation.Run(fault);
  EXPECT_EQ(exitCode, -1);
  EXPECT_TRUE(installation.IsOld());
  EXPECT_EQ(installation.StoreNames(), (std::vector<std::string>{"A", "B", "D"}));
  EXPECT_EQ(Join(installation.Problems(fault, exitCode)), "");
}

TEST(FaultInjection, WithoutAtomicExchangeEveryFailedInstallationCallKeepsEachModel) {
  const CleanRun clean = RunCleanly(true);
  std::vector<std::size_t> indices;
  for (std::size_t i = 0; i < clean.calls.size(); ++i) {
    if (clean.steps[i] == Step::kInstallProfiles) indices.push_back(i);
  }
  EXPECT_EQ(FailEachCall(clean, indices, true), "");
}

}  // namespace
