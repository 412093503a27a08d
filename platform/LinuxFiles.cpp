// File streams of the Linux host.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/LinuxHost.h"
#include "platform/NativePath.h"

namespace platform {
namespace {

class StreamInputFile : public InputFile {
 public:
  explicit StreamInputFile(std::FILE* file) : file_(file) {}
  ~StreamInputFile() override { std::fclose(file_); }
  StreamInputFile(const StreamInputFile&) = delete;
  StreamInputFile& operator=(const StreamInputFile&) = delete;

  std::ptrdiff_t Read(void* buffer, std::size_t size) override {
    const std::size_t count = std::fread(buffer, 1, size, file_);
    if (count == 0 && std::ferror(file_)) return -1;
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::FILE* file_;
};

class StreamOutputFile : public OutputFile {
 public:
  explicit StreamOutputFile(std::FILE* file) : file_(file) {}
  ~StreamOutputFile() override { Close(); }
  StreamOutputFile(const StreamOutputFile&) = delete;
  StreamOutputFile& operator=(const StreamOutputFile&) = delete;

  bool Write(const void* data, std::size_t size, std::size_t& written) override {
    if (file_ == nullptr) return false;
    written = std::fwrite(data, 1, size, file_);
    return written == size;
  }
  bool Close() override {
    if (file_ == nullptr) return true;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }

 private:
  std::FILE* file_;
};

class DirectOutputFile : public OutputFile {
 public:
  explicit DirectOutputFile(int fd) : fd_(fd) {}
  ~DirectOutputFile() override { Close(); }
  DirectOutputFile(const DirectOutputFile&) = delete;
  DirectOutputFile& operator=(const DirectOutputFile&) = delete;

  bool Write(const void* data, std::size_t size, std::size_t& written) override {
    if (fd_ < 0) return false;
    ssize_t count;
    do {
      count = ::write(fd_, data, size);
    } while (count < 0 && errno == EINTR);
    if (count < 0) return false;
    written = static_cast<std::size_t>(count);
    return true;
  }
  bool Close() override {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<InputFile> LinuxHost::OpenForReading(const std::string& path) {
  // Only a regular file is a file to read: a folder opens on Linux, and a
  // named pipe would block the opening (or a device the reading) for good.
  // Opened without blocking, so that a pipe can be told apart first.
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  const int flags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<StreamInputFile>(file);
}

std::unique_ptr<OutputFile> LinuxHost::CreateFile(const std::string& path, bool buffered) {
  // Never write through a link that stands where the file should be.
  const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                        0666);
  if (fd < 0) return nullptr;
  if (!buffered) return std::make_unique<DirectOutputFile>(fd);
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<StreamOutputFile>(file);
}

}  // namespace platform
