#include "job/MonitorFileJob.h"

#include "job/HostProduct.h"
#include "job/NumberScan.h"

namespace {

constexpr std::size_t kLocationCapacity = 260;
constexpr std::size_t kVersionCapacity = 32;

}  // namespace

MonitorFileJob::MonitorFileJob(platform::Host& host, std::string packageInfoPath, int mainProduct)
    : m_mainProduct(mainProduct),
      m_packageInfoPath(std::move(packageInfoPath)),
      m_versionMajor(0),
      m_versionMinor(0),
      m_versionBuild(0),
      host_(host) {
  const std::string code = job::ProductCode(m_mainProduct);

  std::string location;
  if (host_.QueryProductInfo(code, "InstallLocation", &location, kLocationCapacity) ==
      platform::kQuerySuccess) {
    m_installLocation = location;
  }

  std::string versionText;
  if (host_.QueryProductInfo(code, "VersionString", &versionText, kVersionCapacity) ==
      platform::kQuerySuccess) {
    job::VersionTriple version{m_versionMajor, m_versionMinor, m_versionBuild};
    job::ScanVersion(versionText, version);
    m_versionMajor = version.major;
    m_versionMinor = version.minor;
    m_versionBuild = version.build;
  }
}
