#pragma once

// Folders for running the built tool on a hostile package, laid out so that
// every escape lands somewhere a picture covers:
//
//   <root>/records/              the product records
//   <root>/install/Profile/HALVOR ONA/Keep1, Keep2   the store, two models
//   <root>/deep/er/package/      the package folder, the tool's current directory
//   <root>/deep/er/sentinel/     a folder with files beside the package
//
// A path that climbs up to four levels from a staging folder
// (package/<profile>/) stays inside <root>.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/app/ToolProcess.h"
#include "tests/hostile/Footprint.h"
#include "tests/job/PackageFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

namespace hostile_testing {

// The models the store holds before every run, and the well-behaved model
// that the packages bring along.
inline const Files kKeep1 = {{"montype.xml", job_testing::MonitorType(5)}, {"CAP.xml", "Keep1 capabilities"}};
inline const Files kKeep2 = {{"montype.xml", job_testing::MonitorType(5)},
                             {"CALDEF.xml", "Keep2 calibration"},
                             {"tables/gamma.bin", "Keep2 tables"}};
inline const Files kFine = {{"montype.xml", job_testing::MonitorType(2)},
                            {"CALDEF.xml", "Fine calibration"},
                            {"CAP.xml", "Fine capabilities"}};

class HostileWorkspace {
 public:
  HostileWorkspace();

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path records() const { return root_ / "records"; }
  std::filesystem::path install() const { return root_ / "install"; }
  std::filesystem::path store() const { return root_ / "install/Profile/HALVOR ONA"; }
  std::filesystem::path package() const { return root_ / "deep/er/package"; }
  std::filesystem::path sentinel() const { return root_ / "deep/er/sentinel"; }

  // Registers the main product (1) or the second (0), installed in install().
  void Register(int mainProduct);

  // The package description; `body` becomes the root element's content.
  void WriteDescription(const std::string& body);
  // A file of the package, as it stands.
  void WriteFile(const std::string& name, const std::string& bytes);
  // A valid monitor file holding these archive entries.
  void WriteMonitorFile(const std::string& name, const std::vector<testing_support::ZipEntry>& entries);

  // Runs the tool quietly in the package folder.
  app_testing::ToolRun Run() const;

 private:
  testing_support::TempFolder temp_;
  std::filesystem::path root_;
};

// The archive entries of the well-behaved model Fine.
std::vector<testing_support::ZipEntry> FineEntries();

}  // namespace hostile_testing
