#pragma once

// The temporary folder a fuzz target works in. One per process, created on
// first use below $TMPDIR and emptied before every input, so that long runs
// neither fill the disk nor carry state from one input to the next.

#include <filesystem>
#include <string>
#include <vector>

namespace fuzz_support {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Removes everything inside the folder (the folder itself stays).
  void Empty() const;

 private:
  std::filesystem::path path_;
};

// The process's scratch folder.
ScratchFolder& Scratch();

// Every file and folder below `root`, as "relative/path kind size" lines in
// sorted order, links not followed. Folders listed in `skip` (relative to
// `root`) are listed themselves but not what is inside them.
std::vector<std::string> ListTree(const std::filesystem::path& root,
                                  const std::vector<std::string>& skip = {});

// Writes bytes to a new file, replacing an existing one.
void WriteBytes(const std::filesystem::path& path, const void* data, std::size_t size);

}  // namespace fuzz_support
