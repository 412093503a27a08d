// Creates one staging folder per `profile` element of the package
// description, in the current directory and in document order.

#include "job/FolderName.h"
#include "job/MonitorFileJob.h"
#include "xml/DOMExplorer.h"

int MonitorFileJob::ReadPackageInfo() {
  DOMExplorer xml(host_);
  if (!xml.Load(m_packageInfoPath)) return 0;
  if (!xml.FindChild("profile")) return 1;
  do {
    if (xml.GetNodeName() != "profile") continue;
    const std::string name = xml.GetAttribute("name");
    // A staging folder stays inside the package folder.
    if (!job::StaysBelowCurrentFolder(name)) return 0;
    // Creating the folder anew (never reusing one) is what makes it this
    // job's own, to be removed by the cleanup.
    if (!host_.MakeFolder(name)) return 0;
    m_stagedProfiles.push_back(name);
  } while (xml.NextSibling());
  return 1;
}
