#include "tests/hostile/HostileWorkspace.h"

#include "tests/hostile/CraftedArchives.h"

namespace hostile_testing {

namespace fs = std::filesystem;

std::vector<testing_support::ZipEntry> FineEntries() {
  std::vector<testing_support::ZipEntry> entries = {{"Fine/", "", 0}};
  for (const auto& [path, content] : kFine) entries.push_back({"Fine/" + path, content, 8});
  return entries;
}

HostileWorkspace::HostileWorkspace() : root_(temp_.path()) {
  fs::create_directories(records());
  fs::create_directories(package());
  for (const auto& [path, content] : kKeep1) testing_support::WriteFile(store() / "Keep1" / path, content);
  for (const auto& [path, content] : kKeep2) testing_support::WriteFile(store() / "Keep2" / path, content);
  testing_support::WriteFile(sentinel() / "keep.txt", "beside the package");
  testing_support::WriteFile(sentinel() / "Fine/montype.xml", job_testing::MonitorType(9));
  testing_support::WriteFile(sentinel() / "stolen.lmf",
                             Container(testing_support::BuildZip(FineEntries())));
}

void HostileWorkspace::Register(int mainProduct) {
  const std::string code = mainProduct != 0 ? "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}"
                                            : "{A07F4E62-9D18-4B3C-8E5A-2C96F1B07D84}";
  testing_support::WriteFile(records() / (code + ".record"),
                             "InstalledProductName=Host\nInstallLocation=" + install().string() +
                                 "/\nVersionString=8.2.1\n");
}

void HostileWorkspace::WriteDescription(const std::string& body) {
  WriteFile("LumoraMonitorFileInfo.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LumoraMonitorFileInfo>\n" + body +
                "\n</LumoraMonitorFileInfo>\n");
}

void HostileWorkspace::WriteFile(const std::string& name, const std::string& bytes) {
  testing_support::WriteFile(package() / name, bytes);
}

void HostileWorkspace::WriteMonitorFile(const std::string& name,
                                        const std::vector<testing_support::ZipEntry>& entries) {
  WriteFile(name, Container(testing_support::BuildZip(entries)));
}

app_testing::ToolRun HostileWorkspace::Run() const {
  return app_testing::RunProgram(app_testing::ToolPath(), {"/q"}, package(),
                                 app_testing::BaseEnvironment(records()));
}

}  // namespace hostile_testing
