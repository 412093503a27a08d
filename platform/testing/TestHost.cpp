#include "platform/testing/TestHost.h"

#include <algorithm>
#include <filesystem>

#include "platform/NativePath.h"

namespace platform {
namespace {

class RecordedInputFile : public InputFile {
 public:
  RecordedInputFile(TestHost& host, std::string path, std::unique_ptr<InputFile> real)
      : host_(host), path_(std::move(path)), real_(std::move(real)) {}
  std::ptrdiff_t Read(void* buffer, std::size_t size) override {
    if (host_.Record("Read", path_)) return -1;
    return real_->Read(buffer, size);
  }

 private:
  TestHost& host_;
  std::string path_;
  std::unique_ptr<InputFile> real_;
};

class RecordedOutputFile : public OutputFile {
 public:
  RecordedOutputFile(TestHost& host, std::string path, std::unique_ptr<OutputFile> real)
      : host_(host), path_(std::move(path)), real_(std::move(real)) {}
  bool Write(const void* data, std::size_t size, std::size_t& written) override {
    if (host_.Record("Write", path_)) return false;
    return real_->Write(data, std::min(size, host_.maxBytesPerWrite), written);
  }
  bool Close() override {
    if (closed_) return true;
    closed_ = true;
    const bool fail = host_.Record("Close", path_);
    return real_->Close() && !fail;
  }

 private:
  TestHost& host_;
  std::string path_;
  std::unique_ptr<OutputFile> real_;
  bool closed_ = false;
};

// Cuts the largest file below `folder` to half its size.
void CutLargestFileInHalf(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path largest;
  std::uintmax_t largestSize = 0;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error) && (largest.empty() || it->file_size(error) > largestSize)) {
      largest = it->path();
      largestSize = it->file_size(error);
    }
  }
  if (!largest.empty()) fs::resize_file(largest, largestSize / 2, error);
}

}  // namespace

TestHost::TestHost(Host& real) : real_(real) {}

std::size_t TestHost::CountCalls(const std::string& operation) const {
  return static_cast<std::size_t>(std::count_if(
      calls_.begin(), calls_.end(), [&](const Call& call) { return call.operation == operation; }));
}

void TestHost::FailOperation(std::string operation, std::string pathPart, std::size_t skip,
                             std::size_t times) {
  rules_.push_back({std::move(operation), std::move(pathPart), skip, times});
}

bool TestHost::Record(const std::string& operation, const std::string& path,
                      const std::string& second) {
  const bool failByNumber = calls_.size() == failCallNumber_;
  calls_.push_back({operation, path, second});
  bool fail = failByNumber;
  for (FaultRule& rule : rules_) {
    if (rule.operation != operation || path.find(rule.pathPart) == std::string::npos) continue;
    if (rule.skip > 0) {
      --rule.skip;
    } else if (rule.times > 0) {
      --rule.times;
      fail = true;
    }
  }
  return fail;
}

bool TestHost::InitializeFramework() {
  if (Record("InitializeFramework", "")) return false;
  return frameworkStarts && real_.InitializeFramework();
}

void TestHost::WriteToStandardOutput(std::string_view text) {
  Record("WriteToStandardOutput", "");
  standardOutput.append(text);
}

std::string TestHost::LanguageSetting() {
  Record("LanguageSetting", "");
  return language;
}

QueryResult TestHost::QueryProductInfo(const std::string& productCode,
                                       const std::string& property, std::string* value,
                                       std::size_t capacity) {
  if (Record("QueryProductInfo", productCode, property)) return kQueryFailure;
  return real_.QueryProductInfo(productCode, property, value, capacity);
}

std::unique_ptr<InputFile> TestHost::OpenForReading(const std::string& path) {
  if (Record("OpenForReading", path)) return nullptr;
  std::unique_ptr<InputFile> file = real_.OpenForReading(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<RecordedInputFile>(*this, path, std::move(file));
}

std::unique_ptr<OutputFile> TestHost::CreateFile(const std::string& path, bool buffered) {
  if (Record("CreateFile", path)) return nullptr;
  std::unique_ptr<OutputFile> file = real_.CreateFile(path, buffered);
  if (file == nullptr) return nullptr;
  return std::make_unique<RecordedOutputFile>(*this, path, std::move(file));
}

bool TestHost::Exists(const std::string& path) {
  return !Record("Exists", path) && real_.Exists(path);
}

bool TestHost::IsFolder(const std::string& path) {
  return !Record("IsFolder", path) && real_.IsFolder(path);
}

bool TestHost::MakeFolder(const std::string& path) {
  return !Record("MakeFolder", path) && real_.MakeFolder(path);
}

bool TestHost::MakeFolders(const std::string& path) {
  return !Record("MakeFolders", path) && real_.MakeFolders(path);
}

bool TestHost::RemoveTree(const std::string& path) {
  return !Record("RemoveTree", path) && real_.RemoveTree(path);
}

bool TestHost::CopyTree(const std::string& source, const std::string& destination) {
  if (Record("CopyTree", source, destination)) return false;
  const bool copied = real_.CopyTree(source, destination);
  if (copied && copyBreaksHalfway) {
    CutLargestFileInHalf(NativePath(destination));
    return false;
  }
  return copied;
}

bool TestHost::Rename(const std::string& from, const std::string& to) {
  return !Record("Rename", from, to) && real_.Rename(from, to);
}

ExchangeResult TestHost::Exchange(const std::string& first, const std::string& second) {
  if (Record("Exchange", first, second)) return ExchangeResult::kFailed;
  if (exchangeUnsupported) return ExchangeResult::kUnsupported;
  return real_.Exchange(first, second);
}

bool TestHost::SyncFolder(const std::string& path) {
  return !Record("SyncFolder", path) && real_.SyncFolder(path);
}

bool TestHost::CurrentDirectory(std::string& path) {
  return !Record("CurrentDirectory", "") && real_.CurrentDirectory(path);
}

void TestHost::WritePause() { Record("WritePause", ""); }

void TestHost::ShowMessage(const std::string& caption, const std::string& text,
                           MessageIcon icon) {
  Record("ShowMessage", caption);
  messages.push_back({caption, text, icon});
}

}  // namespace platform
