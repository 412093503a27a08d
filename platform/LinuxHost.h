#pragma once

#include <string>

#include "platform/Host.h"

namespace platform {

// The host services of a Linux machine.
class LinuxHost : public Host {
 public:
  LinuxHost();
  // A records folder and a write pause of the caller's choosing (tests).
  LinuxHost(std::string recordsFolder, unsigned writePauseMilliseconds);

  bool InitializeFramework() override;
  void WriteToStandardOutput(std::string_view text) override;
  std::string LanguageSetting() override;

  QueryResult QueryProductInfo(const std::string& productCode, const std::string& property,
                               std::string* value, std::size_t capacity) override;

  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateFile(const std::string& path, bool buffered) override;

  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  bool MakeFolder(const std::string& path) override;
  bool MakeFolders(const std::string& path) override;
  bool RemoveTree(const std::string& path) override;
  bool CopyTree(const std::string& source, const std::string& destination) override;
  bool Rename(const std::string& from, const std::string& to) override;
  ExchangeResult Exchange(const std::string& first, const std::string& second) override;
  bool SyncFolder(const std::string& path) override;
  bool CurrentDirectory(std::string& path) override;

  void WritePause() override;
  void ShowMessage(const std::string& caption, const std::string& text,
                   MessageIcon icon) override;

 private:
  std::string recordsFolder_;
  unsigned writePauseMilliseconds_;
};

}  // namespace platform
