// Selects the models whose installed profile is missing, unreadable or older
// than the version the package's catalogue announces.

#include <map>

#include "job/MonitorFileJob.h"
#include "job/NumberScan.h"
#include "job/ProfileStore.h"
#include "xml/DOMExplorer.h"

namespace {

// A loadable "montype.xml" whose ProfileVersion is missing, or whose text
// does not begin with a number, counts as version 1.
constexpr int kUnstatedProfileVersion = 1;

}  // namespace

int MonitorFileJob::SelectProfiles() {
  DOMExplorer xml(host_);
  if (!xml.Load(m_packageInfoPath)) return 0;
  if (!xml.FindChild("model")) return 1;

  // One entry per model name; a later element replaces an earlier one.
  std::map<std::string, int> catalogue;
  do {
    if (xml.GetNodeName() != "model") continue;
    catalogue[xml.GetAttribute("name")] = job::ReadDecimal(xml.GetAttribute("version"));
  } while (xml.NextSibling());

  // Only reads: an unusual name merely names a file that is not there.
  for (const auto& [name, catalogueVersion] : catalogue) {
    if (!xml.Load(job::InstalledMonitorType(m_installLocation, name))) {
      m_selectedModels.push_back(name);
      continue;
    }
    int installedVersion = kUnstatedProfileVersion;
    if (xml.FindChild("ProfileVersion")) {
      installedVersion = job::ScanNumber(xml.GetText()).value_or(kUnstatedProfileVersion);
    }
    if (installedVersion < catalogueVersion) m_selectedModels.push_back(name);
  }
  return 1;
}
