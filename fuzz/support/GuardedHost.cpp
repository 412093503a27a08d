#include "fuzz/support/GuardedHost.h"

#include <algorithm>
#include <system_error>

#include "fuzz/support/Finding.h"

namespace fuzz_support {

namespace fs = std::filesystem;

GuardedHost::GuardedHost(platform::Host& real, std::vector<fs::path> writableFolders) : real_(real) {
  for (const fs::path& folder : writableFolders) writable_.push_back(fs::weakly_canonical(folder).generic_string());
}

std::optional<fs::path> GuardedHost::Resolve(const std::string& given, bool createsParents) {
  // The platform maps "\" to "/", and the system stops at a NUL.
  std::string path = given.substr(0, given.find('\0'));
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty()) return std::nullopt;  // the system finds no such name

  fs::path resolved = !path.empty() && path.front() == '/' ? fs::path("/") : fs::current_path();
  bool missing = false;  // a component on the way does not exist (yet)
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    const bool last = end == path.size() || path.find_first_not_of('/', end) == std::string::npos;
    start = end + 1;
    if (part.empty()) continue;
    if (missing && !createsParents) return std::nullopt;
    if (part == ".") continue;
    if (part == "..") {
      resolved = resolved.parent_path();
      continue;
    }
    resolved /= part;
    if (missing) continue;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(resolved, error);
    if (!fs::exists(status)) {
      missing = true;
    } else if (fs::is_symlink(status)) {
      if (!last) resolved = fs::weakly_canonical(resolved, error);
    } else if (!fs::is_directory(status) && !last) {
      return std::nullopt;
    }
  }
  return resolved.lexically_normal();
}

bool GuardedHost::Confine(const char* operation, const std::string& path, bool createsParents,
                          bool mayBeWritableFolder) const {
  const std::optional<fs::path> resolved = Resolve(path, createsParents);
  if (!resolved) return false;
  std::string name = resolved->generic_string();
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  for (const std::string& folder : writable_) {
    if (name == folder && mayBeWritableFolder) return true;
    if (name.size() > folder.size() && name.compare(0, folder.size(), folder) == 0 &&
        name[folder.size()] == '/') {
      return true;
    }
  }
  Finding(std::string(operation) + " outside the writable folders: \"" + path + "\" acts on " + name);
}

void GuardedHost::ExpectRefused(const char* operation, const std::string& path, bool canAct, bool succeeded) {
  if (!canAct && succeeded) {
    Finding(std::string(operation) + " succeeded on \"" + path + "\", which the guard took as refused");
  }
}

bool GuardedHost::InitializeFramework() { return real_.InitializeFramework(); }
void GuardedHost::WriteToStandardOutput(std::string_view text) { real_.WriteToStandardOutput(text); }
std::string GuardedHost::LanguageSetting() { return real_.LanguageSetting(); }

platform::QueryResult GuardedHost::QueryProductInfo(const std::string& productCode, const std::string& property,
                                                    std::string* value, std::size_t capacity) {
  return real_.QueryProductInfo(productCode, property, value, capacity);
}

std::unique_ptr<platform::InputFile> GuardedHost::OpenForReading(const std::string& path) {
  return real_.OpenForReading(path);
}

std::unique_ptr<platform::OutputFile> GuardedHost::CreateFile(const std::string& path, bool buffered) {
  const bool canAct = Confine("CreateFile", path, false, true);
  std::unique_ptr<platform::OutputFile> file = real_.CreateFile(path, buffered);
  ExpectRefused("CreateFile", path, canAct, file != nullptr);
  return file;
}

bool GuardedHost::Exists(const std::string& path) { return real_.Exists(path); }
bool GuardedHost::IsFolder(const std::string& path) { return real_.IsFolder(path); }

bool GuardedHost::MakeFolder(const std::string& path) {
  const bool canAct = Confine("MakeFolder", path, false, true);
  const bool made = real_.MakeFolder(path);
  ExpectRefused("MakeFolder", path, canAct, made);
  return made;
}

bool GuardedHost::MakeFolders(const std::string& path) {
  Confine("MakeFolders", path, true, true);
  return real_.MakeFolders(path);
}

bool GuardedHost::RemoveTree(const std::string& path) {
  const bool canAct = Confine("RemoveTree", path, false, false);
  const bool removed = real_.RemoveTree(path);
  ExpectRefused("RemoveTree", path, canAct, removed);
  return removed;
}

bool GuardedHost::CopyTree(const std::string& source, const std::string& destination) {
  const bool canAct = Confine("CopyTree", destination, false, false);
  const bool copied = real_.CopyTree(source, destination);
  ExpectRefused("CopyTree", destination, canAct, copied);
  return copied;
}

bool GuardedHost::Rename(const std::string& from, const std::string& to) {
  const bool canAct = Confine("Rename", from, false, false) && Confine("Rename", to, false, false);
  const bool renamed = real_.Rename(from, to);
  ExpectRefused("Rename", from + "\" to \"" + to, canAct, renamed);
  return renamed;
}

platform::ExchangeResult GuardedHost::Exchange(const std::string& first, const std::string& second) {
  const bool canAct = Confine("Exchange", first, false, false) && Confine("Exchange", second, false, false);
  const platform::ExchangeResult result = real_.Exchange(first, second);
  ExpectRefused("Exchange", first + "\" with \"" + second, canAct,
                result == platform::ExchangeResult::kExchanged);
  return result;
}

bool GuardedHost::SyncFolder(const std::string& path) { return real_.SyncFolder(path); }
bool GuardedHost::CurrentDirectory(std::string& path) { return real_.CurrentDirectory(path); }
void GuardedHost::WritePause() { real_.WritePause(); }

void GuardedHost::ShowMessage(const std::string& caption, const std::string& text, platform::MessageIcon icon) {
  real_.ShowMessage(caption, text, icon);
}

}  // namespace fuzz_support
