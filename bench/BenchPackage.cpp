#include "bench/BenchPackage.h"

#include <unistd.h>

#include <iterator>
#include <stdexcept>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"
#include "tools/MonitorFileFormat.h"

namespace bench {
namespace {

namespace fs = std::filesystem;
using testing_support::ZipEntry;

constexpr std::size_t kModelsPerMonitorFile = 20;
constexpr const char* kMainProductCode = "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}";

std::string ModelName(std::size_t index) { return "BM" + std::to_string(1000 + index); }

std::string Montype(const std::string& model, int version) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MonitorType>\n  <Name>";
  text += model;
  text += "</Name>\n  <ProfileVersion>";
  text += std::to_string(version);
  text += "</ProfileVersion>\n</MonitorType>\n";
  return text;
}

// A model's files: calibration defaults (4 KB), capabilities (2 KB), type.
std::vector<std::pair<std::string, std::string>> ModelFiles(std::size_t index, int version) {
  const std::string name = ModelName(index);
  return {{"CALDEF.xml", ProfileLikeText(4096, static_cast<unsigned>(2 * index))},
          {"CAP.xml", ProfileLikeText(2048, static_cast<unsigned>(2 * index + 1))},
          {"montype.xml", Montype(name, version)}};
}

}  // namespace

BenchPackage MakeBenchPackage(const fs::path& work, std::size_t models) {
  BenchPackage made;
  made.package = work / "package";
  made.records = work / "records";
  made.store = work / "lumora" / "Profile" / "HALVOR ONA";
  made.models = models;
  FreshFolder(made.package);
  FreshFolder(made.records);
  testing_support::WriteFile(made.records / (std::string(kMainProductCode) + ".record"),
                             "InstalledProductName=Lumora\nInstallLocation=" + (work / "lumora").string() +
                                 "/\nVersionString=8.2.1\n");

  std::string profiles;
  std::string modelElements;
  for (std::size_t first = 0; first < models; first += kModelsPerMonitorFile) {
    std::string profile = "P";
    profile += std::to_string(first / kModelsPerMonitorFile);
    std::vector<ZipEntry> entries;
    for (std::size_t index = first; index < std::min(models, first + kModelsPerMonitorFile); ++index) {
      const std::string name = ModelName(index);
      entries.push_back({name + "/", "", 0});
      for (const auto& [file, content] : ModelFiles(index, 2)) {
        entries.push_back({name + "/" + file, content});
        made.extractionWrites += (content.size() + 1023) / 1024;
      }
      modelElements += "  <model name=\"" + name + "\" version=\"2\" profile=\"" + profile +
                       "\">\n    <supportversion software=\"Lumora\" min=\"8.0.0\"/>\n  </model>\n";
    }
    const auto monitorFile = WrapInMonitorFile(testing_support::BuildZip(entries));
    if (!monitorFile) throw std::runtime_error("a monitor file's archive exceeds 65535 bytes");
    testing_support::WriteFile(made.package / (profile + ".lmf"), *monitorFile);
    profiles += "  <profile name=\"" + profile + "\" src=\"" + profile + ".lmf\"/>\n";
  }
  testing_support::WriteFile(made.package / "LumoraMonitorFileInfo.xml",
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LumoraMonitorFileInfo>\n" + profiles +
                                 modelElements + "</LumoraMonitorFileInfo>\n");
  ResetStore(made);
  return made;
}

void ResetStore(const BenchPackage& package) {
  // A run replaces each model's folder with one that differs from the old
  // only in montype.xml, so writing that file back resets a model; the store
  // is made afresh only the first time. Removing and rewriting it all each
  // round would leave the disk busy discarding the freed blocks while the
  // next run is measured, the more so the larger the store.
  const bool complete = fs::is_directory(package.store) &&
                        static_cast<std::size_t>(std::distance(fs::directory_iterator(package.store),
                                                               fs::directory_iterator())) == package.models;
  if (!complete) FreshFolder(package.store);
  for (std::size_t index = 0; index < package.models; ++index) {
    for (const auto& [file, content] : ModelFiles(index, 1)) {
      if (!complete || file == "montype.xml") {
        testing_support::WriteFile(package.store / ModelName(index) / file, content);
      }
    }
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(package.package)) {
    if (entry.is_directory()) fs::remove_all(entry.path());
  }
  // The store is on disk before a run, as an installed store would be: the
  // run's own flushes must not pay for writing this setup out.
  ::sync();
}

bool AllModelsUpdated(const BenchPackage& package) {
  for (std::size_t index = 0; index < package.models; ++index) {
    const std::string name = ModelName(index);
    if (testing_support::ReadFile(package.store / name / "montype.xml") != Montype(name, 2)) return false;
  }
  return true;
}

}  // namespace bench
