#pragma once

// One host product's installation run: the product's install location and
// version, read on construction, and the five steps that stage the package's
// profiles, select and install the models that need it, and clean up. The
// steps hand their results to one another through the public fields.

#include <string>
#include <vector>

#include "platform/Host.h"

class MonitorFileJob {
 public:
  // `mainProduct` non-zero selects the main product, zero the second one.
  MonitorFileJob(platform::Host& host, std::string packageInfoPath, int mainProduct);

  // Each step returns 1 for success and 0 for failure.
  int ReadPackageInfo();
  int StageProfiles();
  int SelectProfiles();
  int InstallProfiles();
  int RemoveStaging();

  int m_mainProduct;
  std::string m_installLocation;  // ends with a separator; empty when unknown
  std::string m_packageInfoPath;
  std::vector<std::string> m_stagedProfiles;
  std::vector<std::string> m_selectedModels;
  std::vector<std::string> m_incompatibleMonitors;
  // The installed version; 0 where the version text gives no number.
  int m_versionMajor;
  int m_versionMinor;
  int m_versionBuild;

 private:
  // Replaces one model's folder in the store with its staged folder.
  bool InstallModel(const std::string& name, const std::string& profile);

  platform::Host& host_;
};
