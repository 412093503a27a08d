#include "tests/hostile/Footprint.h"

#include <algorithm>
#include <cstdint>

#include "tests/support/TempFolder.h"

namespace hostile_testing {

namespace fs = std::filesystem;

job_testing::Tree TreeOf(const Files& files) {
  job_testing::Tree tree;
  for (const auto& [path, content] : files) {
    tree[path] = content;
    for (auto slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
      tree[path.substr(0, slash)] = std::nullopt;
    }
  }
  return tree;
}

job_testing::Tree Picture(const fs::path& root, const std::vector<fs::path>& allowed) {
  constexpr std::uintmax_t kLargestReadFile = std::uintmax_t{1} << 20;
  job_testing::Tree tree;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path& path = it->path();
    const std::string relative = path.lexically_relative(root).generic_string();
    const fs::file_status status = it->symlink_status(error);
    if (fs::is_symlink(status)) {
      tree[relative] = "-> " + fs::read_symlink(path, error).string();
    } else if (fs::is_directory(status)) {
      tree[relative] = std::nullopt;
      const bool skipped = std::any_of(allowed.begin(), allowed.end(), [&](const fs::path& folder) {
        return IsSame(path.lexically_normal(), folder.lexically_normal());
      });
      if (skipped) it.disable_recursion_pending();
    } else if (fs::is_regular_file(status)) {
      const std::uintmax_t size = fs::file_size(path, error);
      if (size > kLargestReadFile) {
        std::string bySize = std::to_string(size);
        bySize += " bytes, not read";
        tree[relative] = bySize;
      } else {
        tree[relative] = testing_support::ReadFile(path);
      }
    } else {
      tree[relative] = "<special>";
    }
  }
  return tree;
}

fs::path OnDisk(const std::string& hostPath, const fs::path& currentDirectory) {
  std::string native = hostPath;
  std::replace(native.begin(), native.end(), '\\', '/');
  const fs::path path(native);
  return (path.is_absolute() ? path : currentDirectory / path).lexically_normal();
}

namespace {

// The parts of a path, without the empty last part of a trailing "/".
std::vector<std::string> Parts(const fs::path& path) {
  std::vector<std::string> list;
  for (const fs::path& part : path) {
    if (!part.empty()) list.push_back(part.string());
  }
  return list;
}

}  // namespace

bool IsBelow(const fs::path& path, const fs::path& folder) {
  const std::vector<std::string> inner = Parts(path);
  const std::vector<std::string> outer = Parts(folder);
  return inner.size() > outer.size() && std::equal(outer.begin(), outer.end(), inner.begin());
}

bool IsSame(const fs::path& path, const fs::path& folder) { return Parts(path) == Parts(folder); }

std::vector<std::string> WrittenPaths(const platform::TestHost::Call& call) {
  const std::string& op = call.operation;
  if (op == "CreateFile" || op == "Write" || op == "Close" || op == "MakeFolder" ||
      op == "MakeFolders" || op == "RemoveTree") {
    return {call.path};
  }
  // A copy only reads its source.
  if (op == "CopyTree") return {call.second};
  if (op == "Rename" || op == "Exchange") return {call.path, call.second};
  return {};
}

}  // namespace hostile_testing
