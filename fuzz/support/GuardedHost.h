#pragma once

// A host that confines writing: it forwards every call to a real host, but
// before a call that creates, changes or removes anything on disk it works
// out, component by component against the real file system, which name the
// system would act on. A name outside the writable folders is a finding and
// the process aborts before the call is made.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace fuzz_support {

class GuardedHost : public platform::Host {
 public:
  GuardedHost(platform::Host& real, std::vector<std::filesystem::path> writableFolders);

  bool InitializeFramework() override;
  void WriteToStandardOutput(std::string_view text) override;
  std::string LanguageSetting() override;
  platform::QueryResult QueryProductInfo(const std::string& productCode, const std::string& property,
                                         std::string* value, std::size_t capacity) override;
  std::unique_ptr<platform::InputFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateFile(const std::string& path, bool buffered) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  bool MakeFolder(const std::string& path) override;
  bool MakeFolders(const std::string& path) override;
  bool RemoveTree(const std::string& path) override;
  bool CopyTree(const std::string& source, const std::string& destination) override;
  bool Rename(const std::string& from, const std::string& to) override;
  platform::ExchangeResult Exchange(const std::string& first, const std::string& second) override;
  bool SyncFolder(const std::string& path) override;
  bool CurrentDirectory(std::string& path) override;
  void WritePause() override;
  void ShowMessage(const std::string& caption, const std::string& text,
                   platform::MessageIcon icon) override;

 private:
  // What the call would act on, or none when the system would refuse it
  // before touching anything (a missing or non-folder component on the way).
  // `createsParents`: the call makes missing folders on the way itself.
  static std::optional<std::filesystem::path> Resolve(const std::string& path, bool createsParents);
  // Aborts unless the resolved name lies inside a writable folder (or is one
  // of them, where `mayBeWritableFolder`). Returns whether the call can act.
  bool Confine(const char* operation, const std::string& path, bool createsParents,
               bool mayBeWritableFolder) const;
  // A call that succeeded although Resolve said it could not act means the
  // resolution is wrong, and the confinement with it.
  static void ExpectRefused(const char* operation, const std::string& path, bool canAct, bool succeeded);

  platform::Host& real_;
  std::vector<std::string> writable_;  // canonical, generic form
};

}  // namespace fuzz_support
