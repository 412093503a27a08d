#pragma once

// A package folder, a records folder and the install locations of both host
// products in one temporary folder, for runs of the built tool.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/ToolProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/ZipBuilder.h"

namespace app_testing {

inline const std::string kMainProductCode = "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}";
inline const std::string kSecondProductCode = "{A07F4E62-9D18-4B3C-8E5A-2C96F1B07D84}";

class ToolWorkspace {
 public:
  ToolWorkspace();

  std::filesystem::path package() const { return root_ / "package"; }
  std::filesystem::path records() const { return root_ / "records"; }
  // The profile stores: <install location>/Profile/HALVOR ONA.
  std::filesystem::path mainStore() const { return root_ / "lumora/Profile/HALVOR ONA"; }
  std::filesystem::path secondStore() const { return root_ / "tessaro/Profile/HALVOR ONA"; }

  // Writes a product record. `lines` follow InstalledProductName.
  void Register(const std::string& productCode, const std::string& lines);
  // Lumora 8.2.1 in <root>/lumora/, Tessaro Hub 3.0.7 in <root>/tessaro/.
  void InstallMain();
  void InstallSecond();

  // The package description and one monitor file holding `entries`.
  void WritePackageInfo(const std::string& xml);
  void WriteMonitorFile(const std::string& name,
                        const std::vector<testing_support::ZipEntry>& entries);
  // Profile P (P.lmf) with models A (compatible everywhere) and Z (Lumora
  // 9.0.0 or newer only); A has montype.xml, CALDEF.xml, CAP.xml and
  // extra.icc, Z has montype.xml and CALDEF.xml.
  void WriteStandardPackage();

  // Runs the tool in the package folder with BaseEnvironment plus `extra`.
  ToolRun Run(const std::vector<std::string>& arguments,
              const std::vector<std::string>& extra = {}) const;

  std::filesystem::path root() const { return root_; }

 private:
  testing_support::TempFolder temp_;
  std::filesystem::path root_;
};

// The regular files below `folder`, as sorted relative paths; empty when the
// folder does not exist.
std::vector<std::string> FilesBelow(const std::filesystem::path& folder);

// The terminal form of the tool's message boxes.
std::string InformationBox(const std::string& text);
std::string ErrorBox(const std::string& text);
inline const std::string kSuccessText = "Lumora Monitor File has been successfully installed.";
inline const std::string kFailureText = "Failed to install Lumora monitor file.";

}  // namespace app_testing
