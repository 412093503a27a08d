#include "tests/app/ToolWorkspace.h"

#include <algorithm>
#include <stdexcept>

#include "tools/MonitorFileFormat.h"

namespace app_testing {

ToolWorkspace::ToolWorkspace() : root_(temp_.path()) {
  std::filesystem::create_directories(package());
  std::filesystem::create_directories(records());
}

void ToolWorkspace::Register(const std::string& productCode, const std::string& lines) {
  testing_support::WriteFile(records() / (productCode + ".record"),
                             "InstalledProductName=Product\n" + lines);
}

void ToolWorkspace::InstallMain() {
  Register(kMainProductCode,
           "InstallLocation=" + (root_ / "lumora").string() + "/\nVersionString=8.2.1\n");
}

void ToolWorkspace::InstallSecond() {
  Register(kSecondProductCode,
           "InstallLocation=" + (root_ / "tessaro").string() + "/\nVersionString=3.0.7\n");
}

void ToolWorkspace::WritePackageInfo(const std::string& xml) {
  testing_support::WriteFile(package() / "LumoraMonitorFileInfo.xml", xml);
}

void ToolWorkspace::WriteMonitorFile(const std::string& name,
                                     const std::vector<testing_support::ZipEntry>& entries) {
  const auto monitorFile = WrapInMonitorFile(testing_support::BuildZip(entries));
  if (!monitorFile.has_value()) throw std::runtime_error("fixture archive too large");
  testing_support::WriteFile(package() / name, *monitorFile);
}

void ToolWorkspace::WriteStandardPackage() {
  WritePackageInfo(R"(<?xml version="1.0" encoding="UTF-8"?>
<LumoraMonitorFileInfo>
  <profile name="P" src="P.lmf"/>
  <model name="A" version="2" profile="P"/>
  <model name="Z" version="1" profile="P">
    <supportversion software="Lumora" min="9.0.0"/>
  </model>
</LumoraMonitorFileInfo>
)");
  WriteMonitorFile("P.lmf", {{"A/montype.xml", "<M><ProfileVersion>2</ProfileVersion></M>"},
                             {"A/CALDEF.xml", "<CalDef/>"},
                             {"A/CAP.xml", "<Cap/>", 0},
                             {"A/extra.icc", "icc"},
                             {"Z/montype.xml", "<M><ProfileVersion>1</ProfileVersion></M>"},
                             {"Z/CALDEF.xml", "<CalDef/>"}});
}

ToolRun ToolWorkspace::Run(const std::vector<std::string>& arguments,
                           const std::vector<std::string>& extra) const {
  std::vector<std::string> environment = BaseEnvironment(records());
  environment.insert(environment.end(), extra.begin(), extra.end());
  return RunProgram(ToolPath(), arguments, package(), environment);
}

std::vector<std::string> FilesBelow(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file()) files.push_back(it->path().lexically_relative(folder).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string InformationBox(const std::string& text) {
  return "Lumora Monitor File: Information\n" + text + "\n";
}

std::string ErrorBox(const std::string& text) {
  return "Lumora Monitor File: Error\n" + text + "\n";
}

}  // namespace app_testing
