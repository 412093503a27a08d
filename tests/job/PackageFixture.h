#pragma once

// A package on real folders for the job's tests: a package folder that is the
// current directory while the fixture lives (the description file and the
// monitor files), a records folder with the host products' records, and an
// install location with a profile store. `host` is a TestHost over a
// LinuxHost on these folders, so faults can be forced on any call.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "job/MonitorFileJob.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

namespace job_testing {

// Every path below a folder, relative with "/" between levels, mapped to the
// file's content, or to nothing for a folder.
using Tree = std::map<std::string, std::optional<std::string>>;
Tree ReadTree(const std::filesystem::path& folder);

// The names directly inside a folder, sorted; empty when it does not exist.
std::vector<std::string> FolderNames(const std::filesystem::path& folder);

// The files of one monitor model, by path relative to the model's folder.
struct ModelFiles {
  std::string name;
  std::map<std::string, std::string> files;
};

// The archive entries of a monitor file holding these models: a folder entry
// per model, then its files.
std::vector<testing_support::ZipEntry> ModelEntries(const std::vector<ModelFiles>& models);

// A montype.xml that states this profile version.
std::string MonitorType(int profileVersion);

class PackageFixture {
 public:
  static constexpr const char* kDescriptionPath = ".\\LumoraMonitorFileInfo.xml";

  PackageFixture();

  const std::filesystem::path& packageFolder() const { return package_; }
  const std::filesystem::path& recordsFolder() const { return records_; }
  const std::filesystem::path& installFolder() const { return install_; }
  // The install folder as the records give it, ending with "/".
  std::string InstallLocation() const { return install_.string() + "/"; }

  // --- Records ---------------------------------------------------------------
  // Registers the selected product (main when non-zero) with the install
  // folder and a version text.
  void RegisterProduct(int mainProduct, const std::string& version);
  // Writes the selected product's record as it stands.
  void WriteRecord(int mainProduct, const std::string& text);

  // --- Package ---------------------------------------------------------------
  // The description file: `body` becomes the root element's content.
  void WriteDescription(const std::string& body);
  // A monitor file at `src` (relative to the package folder) wrapping these
  // entries.
  void WriteMonitorFile(const std::string& src, const std::vector<testing_support::ZipEntry>& entries);
  void WriteMonitorFile(const std::string& src, const std::vector<ModelFiles>& models);
  // A model's folder in a staging folder, as staging leaves it.
  void WriteStagedModel(const std::string& profile, const ModelFiles& model);

  // --- Store -----------------------------------------------------------------
  std::filesystem::path StoreFolder() const { return install_ / "Profile" / "HALVOR ONA"; }
  std::filesystem::path StoredModel(const std::string& model) const { return StoreFolder() / model; }
  // An installed model: its montype.xml stating `profileVersion`, and more files.
  void InstallModel(const std::string& model, int profileVersion,
                    const std::map<std::string, std::string>& files = {});

  // A job over the fixture's host for the product selector.
  MonitorFileJob MakeJob(int mainProduct = 1) {
    return MonitorFileJob(host, kDescriptionPath, mainProduct);
  }

 private:
  testing_support::TempFolder root_;
  std::filesystem::path package_;
  std::filesystem::path records_;
  std::filesystem::path install_;
  testing_support::CurrentDirectoryScope currentDirectory_;

 public:
  platform::LinuxHost linuxHost;
  platform::TestHost host;
};

}  // namespace job_testing
