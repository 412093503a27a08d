// Fuzz target: a whole run on a fuzzed package description. The input is
// LumoraMonitorFileInfo.xml in a package folder (the current directory) that
// also holds fixed monitor files; both host products are installed, each with
// models in its profile store. The runs follow the driver: the main product's
// run, then the second product's when the first left the result at 0.
//
// After each run: nothing outside the package folder and the two stores was
// written (checked before every write by the guarded host, and afterwards by
// comparing listings), a run whose cleanup succeeded leaves the package
// folder as it was, and every entry of a store is a complete model folder,
// either as it was installed before or as the package holds it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fuzz/support/Finding.h"
#include "fuzz/support/GuardedHost.h"
#include "fuzz/support/ScratchFolder.h"
#include "job/HostProduct.h"
#include "job/MonitorFileJob.h"
#include "platform/LinuxHost.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace {

namespace fs = std::filesystem;
using fuzz_support::Finding;
using testing_support::ZipEntry;

// A model folder's content: relative path -> file content (kFolder for a
// folder).
using Tree = std::map<std::string, std::string>;
const std::string kFolder = "/";

std::string Montype(int version) {
  std::string text = "<?xml version=\"1.0\"?>\n<MonitorType><ProfileVersion>";
  text += std::to_string(version);
  text += "</ProfileVersion></MonitorType>\n";
  return text;
}

struct Model {
  std::string name;
  Tree files;
};

// The models the fixed monitor files hold, by monitor file.
const std::map<std::string, std::vector<Model>>& PackagedModels() {
  static const std::map<std::string, std::vector<Model>> models = {
      {"Pro.lmf",
       {{"M1", {{"CALDEF.xml", "<CalDef v=\"3\"/>"}, {"CAP.xml", "<Cap v=\"3\"/>"}, {"montype.xml", Montype(3)},
                {"extra/notes.txt", "package notes"}}},
        {"M2", {{"CAP.xml", "<Cap v=\"1\"/>"}, {"montype.xml", Montype(1)}}}}},
      {"Office.lmf", {{"M3", {{"CALDEF.xml", "<CalDef v=\"5\"/>"}, {"montype.xml", Montype(5)}}}}},
  };
  return models;
}

// Installed before the run, by install location folder.
const std::map<std::string, std::vector<Model>>& InstalledModels() {
  static const std::map<std::string, std::vector<Model>> models = {
      {"lumora", {{"M1", {{"CALDEF.xml", "<CalDef v=\"2\"/>"}, {"montype.xml", Montype(2)}}},
                  {"M3", {{"montype.xml", Montype(9)}}}}},
      {"tessaro", {{"M2", {{"CAP.xml", "<Cap v=\"0\"/>"}}}}},
  };
  return models;
}

std::string MonitorFile(const std::vector<Model>& models, const std::vector<ZipEntry>& more = {}) {
  std::vector<ZipEntry> entries;
  for (const Model& model : models) {
    entries.push_back({model.name + "/", "", 0});
    for (const auto& [path, content] : model.files) entries.push_back({model.name + "/" + path, content});
  }
  entries.insert(entries.end(), more.begin(), more.end());
  return WrapInMonitorFile(testing_support::BuildZip(entries)).value();
}

// The fixed monitor files: the two above and one whose archive climbs out.
const std::map<std::string, std::string>& MonitorFiles() {
  static const std::map<std::string, std::string> files = [] {
    std::map<std::string, std::string> made;
    for (const auto& [file, models] : PackagedModels()) made[file] = MonitorFile(models);
    made["Climb.lmf"] = MonitorFile({}, {{"M1/CAP.xml", "x"}, {"M1/../../../lumora/CAP.xml", "escaped"}});
    return made;
  }();
  return files;
}

Tree ReadTree(const fs::path& folder) {
  Tree tree;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(entry.path(), folder).generic_string();
    tree[relative] = entry.is_directory() ? kFolder : testing_support::ReadFile(entry.path());
  }
  return tree;
}

// A model's folder as the package installs it for one product.
Tree Installed(const Model& model, bool filter) {
  Tree tree;
  for (const auto& [path, content] : model.files) {
    if (filter && path.find("CALDEF.xml") == std::string::npos && path.find("CAP.xml") == std::string::npos) continue;
    tree[path] = content;
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      tree.try_emplace(path.substr(0, slash), kFolder);
    }
  }
  return tree;
}

void WriteFixture(const fs::path& root) {
  for (const auto& [location, models] : InstalledModels()) {
    for (const Model& model : models) {
      for (const auto& [path, content] : model.files) {
        testing_support::WriteFile(root / location / "Profile" / "HALVOR ONA" / model.name / path, content);
      }
    }
  }
  fs::create_directories(root / "records");
  testing_support::WriteFile(root / "records" / (std::string(job::kMainProductCode) + ".record"),
                             "InstalledProductName=Lumora\nInstallLocation=" + (root / "lumora").string() +
                                 "/\nVersionString=8.2.1\n");
  testing_support::WriteFile(root / "records" / (std::string(job::kSecondProductCode) + ".record"),
                             "InstalledProductName=Tessaro Hub\nInstallLocation=" + (root / "tessaro").string() +
                                 "/\nVersionString=3.0.5\n");
  for (const auto& [file, bytes] : MonitorFiles()) testing_support::WriteFile(root / "package" / file, bytes);
}

// One product's run as the driver makes it; the run result and whether the
// cleanup ran and succeeded.
struct RunOutcome {
  int result = 0;
  bool cleanedUp = false;
};

RunOutcome Run(platform::Host& host, int mainProduct) {
  RunOutcome outcome;
  MonitorFileJob job(host, ".\\LumoraMonitorFileInfo.xml", mainProduct);
  if (!job.ReadPackageInfo()) return {-1, false};
  if (!job.StageProfiles()) {
    outcome.result = -1;
  } else if (!job.SelectProfiles() || !job.InstallProfiles()) {
    outcome.result = -1;
  }
  outcome.cleanedUp = job.RemoveStaging() != 0;
  if (!outcome.cleanedUp) outcome.result = -1;
  return outcome;
}

// Every entry of the store is a model folder as it was or as the package
// holds it for this product.
void CheckStore(const fs::path& root, const std::string& location, bool filter) {
  const fs::path maker = root / location / "Profile" / "HALVOR ONA";
  std::map<std::string, std::vector<Tree>> allowed;
  for (const Model& model : InstalledModels().at(location)) allowed[model.name].push_back(model.files);
  for (auto& [name, trees] : allowed) trees.back() = Installed({name, trees.back()}, false);
  for (const auto& [file, models] : PackagedModels()) {
    for (const Model& model : models) allowed[model.name].push_back(Installed(model, filter));
  }
  if (!fs::is_directory(maker)) Finding("the maker folder of " + location + " is gone");
  for (const fs::directory_entry& entry : fs::directory_iterator(maker)) {
    const std::string name = entry.path().filename().string();
    const auto found = allowed.find(name);
    if (found == allowed.end() || !entry.is_directory() || entry.is_symlink()) {
      Finding("an entry in the store of " + location + " that no package or earlier install made: " + name);
    }
    const Tree tree = ReadTree(entry.path());
    bool matches = false;
    for (const Tree& candidate : found->second) matches = matches || tree == candidate;
    if (!matches) Finding("the model folder " + location + "/" + name + " is neither the old nor the new one");
  }
  for (const Model& model : InstalledModels().at(location)) {
    if (!fs::is_directory(maker / model.name)) Finding("the installed model " + model.name + " was lost");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = fuzz_support::Scratch().path();
  fuzz_support::Scratch().Empty();
  WriteFixture(root);
  const fs::path package = root / "package";
  fuzz_support::WriteBytes(package / "LumoraMonitorFileInfo.xml", data, size);

  const std::vector<std::string> changeable = {"package", "lumora", "tessaro"};
  const std::vector<std::string> outsideBefore = fuzz_support::ListTree(root, changeable);
  const std::vector<std::string> packageBefore = fuzz_support::ListTree(package);

  const testing_support::CurrentDirectoryScope inPackage(package);
  platform::LinuxHost real((root / "records").string(), 0);
  fuzz_support::GuardedHost host(real, {package, root / "lumora", root / "tessaro"});

  int result = 0;
  for (const int mainProduct : {1, 0}) {
    if (result != 0) break;
    const RunOutcome outcome = Run(host, mainProduct);
    result = outcome.result;
    const std::string product = mainProduct ? "the main product's run" : "the second product's run";
    if (fuzz_support::ListTree(root, changeable) != outsideBefore) {
      Finding(product + " wrote outside the package folder and the stores");
    }
    if (outcome.cleanedUp && fuzz_support::ListTree(package) != packageBefore) {
      Finding(product + " left files in the package folder after its cleanup");
    }
    CheckStore(root, "lumora", false);
    CheckStore(root, "tessaro", true);
  }
  return 0;
}
