#pragma once

// A test double of the host: it forwards to a real host (usually a LinuxHost
// working in a temporary folder), records every call, and fails the calls a
// test chooses. Messages and standard output are recorded, never shown, and
// the write pause does not sleep.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

class TestHost : public Host {
 public:
  struct Call {
    std::string operation;  // the Host method's name, or "Read", "Write", "Close"
    std::string path;       // first path (or product code), "" when none
    std::string second;     // second path (or property), "" when none
  };
  struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon;
  };

  explicit TestHost(Host& real);

  // --- What happened ----------------------------------------------------------
  const std::vector<Call>& calls() const { return calls_; }
  std::size_t CountCalls(const std::string& operation) const;
  void ClearCalls() { calls_.clear(); }
  std::vector<Message> messages;
  std::string standardOutput;

  // --- What to fail -----------------------------------------------------------
  // Fails the call with this index in calls() (counted from 0, all operations).
  void FailCallNumber(std::size_t index) { failCallNumber_ = index; }
  // Fails calls of `operation` whose path contains `pathPart` ("" matches all),
  // after letting `skip` matching calls succeed, at most `times` times.
  void FailOperation(std::string operation, std::string pathPart = "", std::size_t skip = 0,
                     std::size_t times = std::numeric_limits<std::size_t>::max());
  // CopyTree copies, then cuts the largest file it wrote to half its size and
  // reports failure, as a copy that broke off in the middle of a file.
  bool copyBreaksHalfway = false;
  // Exchange answers "unsupported", as on a file system without it.
  bool exchangeUnsupported = false;
  // Each write call writes at most this many bytes (a partial write).
  std::size_t maxBytesPerWrite = std::numeric_limits<std::size_t>::max();
  // Answer of InitializeFramework (when not failed by a rule).
  bool frameworkStarts = true;
  // Answer of LanguageSetting.
  std::string language;

  // --- Host -------------------------------------------------------------------
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

  // Records a call and tells whether it is to fail. Public for the file
  // wrappers.
  bool Record(const std::string& operation, const std::string& path, const std::string& second = "");

 private:
  struct FaultRule {
    std::string operation;
    std::string pathPart;
    std::size_t skip;
    std::size_t times;
  };

  Host& real_;
  std::vector<Call> calls_;
  std::vector<FaultRule> rules_;
  std::size_t failCallNumber_ = std::numeric_limits<std::size_t>::max();
};

}  // namespace platform
