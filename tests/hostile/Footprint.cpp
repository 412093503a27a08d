#include "tests/hostile/Footprint.h"

#include <algorithm>

namespace hostile_testing {

namespace fs = std::filesystem;

job_testing::Tree TreeOutside(const fs::path& root, const std::vector<fs::path>& allowed) {
  job_testing::Tree tree = job_testing::ReadTree(root);
  for (auto it = tree.begin(); it != tree.end();) {
    const fs::path path = (root / it->first).lexically_normal();
    const bool inside = std::any_of(allowed.begin(), allowed.end(), [&](const fs::path& folder) {
      return IsBelow(path, folder.lexically_normal());
    });
    it = inside ? tree.erase(it) : std::next(it);
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
