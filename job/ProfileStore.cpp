#include "job/ProfileStore.h"

namespace job {

std::string MakerFolder(const std::string& installLocation) {
  return installLocation + "Profile\\HALVOR ONA\\";
}

std::string ModelFolder(const std::string& installLocation, const std::string& model) {
  return MakerFolder(installLocation) + model;
}

std::string InstalledMonitorType(const std::string& installLocation, const std::string& model) {
  return ModelFolder(installLocation, model) + "\\montype.xml";
}

}  // namespace job
