// The test folders of this program go to memory where the machine has a
// memory file system. Every copy into a store is flushed file by file, which
// costs milliseconds per file on a disk, and these tests install hundreds of
// times; nothing they check depends on the kind of disk.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace {

class MemoryTemporaryFolders : public testing::Environment {
 public:
  void SetUp() override {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) {
      setenv("TMPDIR", "/dev/shm", 1);
    }
  }
};

[[maybe_unused]] testing::Environment* const kMemoryTemporaryFolders =
    testing::AddGlobalTestEnvironment(new MemoryTemporaryFolders);

}  // namespace
