#include "tests/job/PackageFixture.h"

#include <algorithm>
#include <stdexcept>

#include "job/HostProduct.h"
#include "tools/MonitorFileFormat.h"

namespace job_testing {
namespace {

namespace fs = std::filesystem;

fs::path MadeFolder(const fs::path& path) {
  fs::create_directories(path);
  return path;
}

}  // namespace

Tree ReadTree(const fs::path& folder) {
  Tree tree;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string relative = fs::relative(it->path(), folder).generic_string();
    if (it->is_directory() && !it->is_symlink()) {
      tree[relative] = std::nullopt;
    } else {
      tree[relative] = testing_support::ReadFile(it->path());
    }
  }
  return tree;
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (auto it = fs::directory_iterator(folder, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<testing_support::ZipEntry> ModelEntries(const std::vector<ModelFiles>& models) {
  std::vector<testing_support::ZipEntry> entries;
  for (const ModelFiles& model : models) {
    entries.push_back({model.name + "/", "", 0});
    for (const auto& [path, content] : model.files) entries.push_back({model.name + "/" + path, content, 8});
  }
  return entries;
}

std::string MonitorType(int profileVersion) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<MonitorType>\n  <ProfileVersion>" +
         std::to_string(profileVersion) + "</ProfileVersion>\n</MonitorType>\n";
}

PackageFixture::PackageFixture()
    : package_(MadeFolder(root_ / "package")),
      records_(MadeFolder(root_ / "records")),
      install_(MadeFolder(root_ / "install")),
      currentDirectory_(package_),
      linuxHost(records_.string(), 0),
      host(linuxHost) {}

void PackageFixture::RegisterProduct(int mainProduct, const std::string& version) {
  WriteRecord(mainProduct, "InstalledProductName=Host\nInstallLocation=" + InstallLocation() +
                               "\nVersionString=" + version + "\n");
}

void PackageFixture::WriteRecord(int mainProduct, const std::string& text) {
  testing_support::WriteFile(records_ / (std::string(job::ProductCode(mainProduct)) + ".record"), text);
}

void PackageFixture::WriteDescription(const std::string& body) {
  testing_support::WriteFile(package_ / "LumoraMonitorFileInfo.xml",
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LumoraMonitorFileInfo>\n" +
                                 body + "\n</LumoraMonitorFileInfo>\n");
}

void PackageFixture::WriteMonitorFile(const std::string& src,
                                      const std::vector<testing_support::ZipEntry>& entries) {
  const std::optional<std::string> monitorFile = WrapInMonitorFile(testing_support::BuildZip(entries));
  if (!monitorFile) throw std::runtime_error("archive too large for a monitor file: " + src);
  testing_support::WriteFile(package_ / src, *monitorFile);
}

void PackageFixture::WriteMonitorFile(const std::string& src, const std::vector<ModelFiles>& models) {
  WriteMonitorFile(src, ModelEntries(models));
}

void PackageFixture::WriteStagedModel(const std::string& profile, const ModelFiles& model) {
  fs::create_directories(package_ / profile / model.name);
  for (const auto& [path, content] : model.files) {
    testing_support::WriteFile(package_ / profile / model.name / path, content);
  }
}

void PackageFixture::InstallModel(const std::string& model, int profileVersion,
                                  const std::map<std::string, std::string>& files) {
  testing_support::WriteFile(StoredModel(model) / "montype.xml", MonitorType(profileVersion));
  for (const auto& [path, content] : files) testing_support::WriteFile(StoredModel(model) / path, content);
}

}  // namespace job_testing
