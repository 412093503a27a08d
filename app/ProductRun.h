#pragma once

// One host product's installation run: the job's steps in their fixed order,
// with the skip rules of an extract-only run, then the incompatible-monitor
// message. A template over the job type so that tests can run the sequence
// with a job of their own.

#include <string>

#include "app/Messages.h"
#include "platform/Host.h"

namespace app {

// The package description file, relative to the current directory.
inline constexpr const char* kPackageInfoPath = ".\\LumoraMonitorFileInfo.xml";

struct ProductRunSettings {
  int productSelector;     // 1 for the main product, 0 for the second
  bool extractOnly;        // stop after staging and keep the staging folders
  bool quiet;              // no message box
  int incompatibleTextId;  // 106 for the main product, 107 for the second
};

// Runs the steps of one job. False when any step failed.
template <typename Job>
bool RunProduct(platform::Host& host, const ProductRunSettings& settings) {
  Job job(host, std::string(kPackageInfoPath), settings.productSelector);
  bool succeeded = true;
  // A failed ReadPackageInfo ends the run without cleanup: the folders it
  // made stay for the user to see.
  if (job.ReadPackageInfo() == 0) {
    succeeded = false;
  } else {
    const bool staged = job.StageProfiles() != 0;
    if (!staged) succeeded = false;
    // An extract-only run keeps what it staged, even after a failure.
    if (!settings.extractOnly) {
      if (staged) {
        if (job.SelectProfiles() == 0) {
          succeeded = false;
        } else if (job.InstallProfiles() == 0) {
          succeeded = false;
        }
      }
      if (job.RemoveStaging() == 0) succeeded = false;
    }
  }
  // Shown whatever the outcome: the models it names were found incompatible.
  if (!job.m_incompatibleMonitors.empty() && !settings.quiet) {
    ShowIncompatibleMessage(host, settings.incompatibleTextId, job.m_versionMajor,
                            job.m_versionMinor, job.m_versionBuild, job.m_incompatibleMonitors);
  }
  return succeeded;
}

}  // namespace app
