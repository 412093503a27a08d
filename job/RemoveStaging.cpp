// Removes the staging folders this job created, in the order it created them.

#include "job/CurrentDirectory.h"
#include "job/MonitorFileJob.h"

int MonitorFileJob::RemoveStaging() {
  std::string currentDirectory;
  if (!job::ReadCurrentDirectory(host_, currentDirectory)) return 0;
  const std::string base = currentDirectory + "\\";
  for (const std::string& name : m_stagedProfiles) {
    if (!host_.RemoveTree(base + name)) return 0;
  }
  return 1;
}
