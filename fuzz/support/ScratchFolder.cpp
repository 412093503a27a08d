#include "fuzz/support/ScratchFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>

#include "fuzz/support/Finding.h"

namespace fuzz_support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "lmfs-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Finding("cannot create the scratch folder " + pattern);
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

void ScratchFolder::Empty() const {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(path_, error)) {
    // A target may have taken permissions away inside; give them back first.
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add,
                    error);
    fs::remove_all(entry.path(), error);
    if (error) Finding("cannot empty the scratch folder: " + error.message());
  }
}

ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

std::vector<std::string> ListTree(const fs::path& root, const std::vector<std::string>& skip) {
  std::vector<std::string> lines;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string relative = fs::relative(it->path(), root).generic_string();
    const fs::file_status status = it->symlink_status();
    std::string line = relative;
    if (fs::is_symlink(status)) {
      line += " link";
    } else if (fs::is_directory(status)) {
      line += " folder";
      if (std::find(skip.begin(), skip.end(), relative) != skip.end()) it.disable_recursion_pending();
    } else if (fs::is_regular_file(status)) {
      line += " file " + std::to_string(it->file_size());
    } else {
      line += " other";
    }
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void WriteBytes(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!file) Finding("cannot write " + path.string());
}

}  // namespace fuzz_support
