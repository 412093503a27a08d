// Checks each selected model against the installed product version and puts
// the compatible models' staged folders into the profile store.

#include <algorithm>
#include <set>

#include "job/CurrentDirectory.h"
#include "job/FolderName.h"
#include "job/HostProduct.h"
#include "job/ModelFolderReplacement.h"
#include "job/MonitorFileJob.h"
#include "job/ProfileStore.h"
#include "job/SupportedRange.h"
#include "xml/DOMExplorer.h"

int MonitorFileJob::InstallProfiles() {
  DOMExplorer xml(host_);
  if (!xml.Load(m_packageInfoPath)) return 0;
  if (!xml.FindChild("model")) return 1;

  const std::set<std::string> selected(m_selectedModels.begin(), m_selectedModels.end());
  const std::string productWord = job::ProductWord(m_mainProduct);
  const job::VersionTriple installed{m_versionMajor, m_versionMinor, m_versionBuild};
  do {
    if (xml.GetNodeName() != "model") continue;
    const std::string name = xml.GetAttribute("name");
    const std::string profile = xml.GetAttribute("profile");
    const job::SupportedRange range = job::ReadSupportedRange(xml, productWord);
    if (selected.count(name) == 0) continue;
    if (!range.Contains(installed)) {
      m_incompatibleMonitors.push_back(name);
      continue;
    }
    if (!InstallModel(name, profile)) return 0;
  } while (xml.NextSibling());
  return 1;
}

bool MonitorFileJob::InstallModel(const std::string& name, const std::string& profile) {
  // Without a known location the store would resolve against the current
  // directory.
  if (m_installLocation.empty()) return false;
  // The name becomes one folder in the store, never a path beyond it.
  if (!job::IsSingleFolderName(name)) return false;
  // The source must lie in one of this job's own staging folders.
  if (!job::IsSingleFolderName(profile) ||
      std::find(m_stagedProfiles.begin(), m_stagedProfiles.end(), profile) ==
          m_stagedProfiles.end()) {
    return false;
  }
  std::string currentDirectory;
  if (!job::ReadCurrentDirectory(host_, currentDirectory)) return false;
  const std::string source = currentDirectory + "\\" + profile + "\\" + name;
  if (!host_.IsFolder(source)) return false;
  return job::ReplaceModelFolder(host_, job::MakerFolder(m_installLocation), name, source);
}
