// Unpacks each profile's monitor file into its staging folder, after the
// container has been checked.

#include "archive/ExtractZip.h"
#include "job/CurrentDirectory.h"
#include "job/MonitorFileJob.h"
#include "job/UnpackMonitorFile.h"
#include "xml/DOMExplorer.h"

int MonitorFileJob::StageProfiles() {
  DOMExplorer xml(host_);
  if (!xml.Load(m_packageInfoPath)) return 0;
  if (!xml.FindChild("profile")) return 1;
  // The second product takes only the calibration and capability files.
  const bool filter = m_mainProduct == 0;
  do {
    if (xml.GetNodeName() != "profile") continue;
    const std::string name = xml.GetAttribute("name");
    const std::string src = xml.GetAttribute("src");
    if (!UnpackMonitorFile(host_, src, name)) return 0;

    std::string currentDirectory;
    if (!job::ReadCurrentDirectory(host_, currentDirectory)) return 0;
    const std::string destination = currentDirectory + "\\" + name + "\\";
    // The monitor file itself is the archive: the reader skips its header.
    if (ExtractZip(host_, src, destination, filter) != 0) return 0;
  } while (xml.NextSibling());
  return 1;
}
