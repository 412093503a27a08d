// Folder services of the Linux host. Tree walks work on descriptors relative
// to their parent and never follow links, so a link inside a tree can neither
// redirect a removal nor smuggle outside files into a copy.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/LinuxHost.h"
#include "platform/NativePath.h"

namespace platform {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The names in an open folder, "." and ".." left out. Takes its own
// duplicate of the descriptor, since the listing closes what it reads from.
bool ListFolder(int folderFd, std::vector<std::string>& names) {
  const int listFd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (listFd < 0) return false;
  DIR* dir = ::fdopendir(listFd);
  if (dir == nullptr) {
    ::close(listFd);
    return false;
  }
  ::rewinddir(dir);
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const bool complete = errno == 0;
  ::closedir(dir);
  return complete;
}

int OpenFolderAt(int parentFd, const char* name) {
  return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the contents of an open folder.
bool RemoveContents(int folderFd) {
  std::vector<std::string> names;
  if (!ListFolder(folderFd, names)) return false;
  for (const std::string& name : names) {
    struct stat info;
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISDIR(info.st_mode)) {
      Descriptor child(OpenFolderAt(folderFd, name.c_str()));
      if (!child.valid() || !RemoveContents(child.get())) return false;
      if (::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) != 0) return false;
    } else if (::unlinkat(folderFd, name.c_str(), 0) != 0) {
      return false;
    }
  }
  return true;
}

bool CopyFileContents(int sourceFd, int targetFd) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t count = ::read(sourceFd, buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (count == 0) return true;
    for (ssize_t done = 0; done < count;) {
      const ssize_t wrote = ::write(targetFd, buffer + done, static_cast<std::size_t>(count - done));
      if (wrote < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += wrote;
    }
  }
}

// Copies the contents of one open folder into another. Every file and folder
// written is listed in `written` (relative to the copy's top folder, each
// folder after its contents) for the flush that follows the whole copy.
bool CopyContents(int sourceFd, int targetFd, const std::string& relative, std::vector<std::string>& written) {
  std::vector<std::string> names;
  if (!ListFolder(sourceFd, names)) return false;
  for (const std::string& name : names) {
    struct stat info;
    if (::fstatat(sourceFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISDIR(info.st_mode)) {
      if (::mkdirat(targetFd, name.c_str(), 0777) != 0) return false;
      Descriptor from(OpenFolderAt(sourceFd, name.c_str()));
      Descriptor to(OpenFolderAt(targetFd, name.c_str()));
      if (!from.valid() || !to.valid() || !CopyContents(from.get(), to.get(), relative + name + "/", written)) {
        return false;
      }
      written.push_back(relative + name);
    } else if (S_ISREG(info.st_mode)) {
      Descriptor from(::openat(sourceFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
      Descriptor to(::openat(targetFd, name.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
      if (!from.valid() || !to.valid()) return false;
      if (!CopyFileContents(from.get(), to.get())) return false;
      written.push_back(relative + name);
    } else {
      return false;  // links, devices and the like are not part of a profile
    }
  }
  return true;
}

// Flushes what a copy wrote, then the copy's top folder. Flushing only after
// the whole tree is written lets the first flush carry the rest with it in
// one journal commit, where one flush per file right after writing it would
// commit once per file.
bool FlushCopy(int topFd, const std::vector<std::string>& written) {
  for (const std::string& path : written) {
    Descriptor entry(::openat(topFd, path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!entry.valid() || ::fsync(entry.get()) != 0) return false;
  }
  return ::fsync(topFd) == 0;
}

}  // namespace

bool LinuxHost::Exists(const std::string& path) {
  struct stat info;
  return ::lstat(NativePath(path).c_str(), &info) == 0;
}

bool LinuxHost::IsFolder(const std::string& path) {
  struct stat info;
  return ::lstat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool LinuxHost::MakeFolder(const std::string& path) {
  return ::mkdir(NativePath(path).c_str(), 0777) == 0;
}

bool LinuxHost::MakeFolders(const std::string& path) {
  const std::string native = NativePath(path);
  for (std::size_t slash = native.find('/', 1); slash != std::string::npos;
       slash = native.find('/', slash + 1)) {
    const std::string prefix = native.substr(0, slash);
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  if (::mkdir(native.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return IsFolder(native);
}

bool LinuxHost::RemoveTree(const std::string& path) {
  const std::string native = NativePath(path);
  struct stat info;
  if (native.empty() || ::lstat(native.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) return ::unlink(native.c_str()) == 0;
  Descriptor folder(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!folder.valid() || !RemoveContents(folder.get())) return false;
  return ::rmdir(native.c_str()) == 0;
}

bool LinuxHost::CopyTree(const std::string& source, const std::string& destination) {
  const std::string target = NativePath(destination);
  Descriptor from(::open(NativePath(source).c_str(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!from.valid() || ::mkdir(target.c_str(), 0777) != 0) return false;
  Descriptor to(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  std::vector<std::string> written;
  return to.valid() && CopyContents(from.get(), to.get(), "", written) && FlushCopy(to.get(), written);
}

bool LinuxHost::Rename(const std::string& from, const std::string& to) {
  // Never replace what stands at the target.
  const std::string target = NativePath(to);
  if (::renameat2(AT_FDCWD, NativePath(from).c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  struct stat info;
  if (::lstat(target.c_str(), &info) == 0) return false;
  return ::rename(NativePath(from).c_str(), target.c_str()) == 0;
}

ExchangeResult LinuxHost::Exchange(const std::string& first, const std::string& second) {
  if (::renameat2(AT_FDCWD, NativePath(first).c_str(), AT_FDCWD, NativePath(second).c_str(),
                  RENAME_EXCHANGE) == 0) {
    return ExchangeResult::kExchanged;
  }
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return ExchangeResult::kUnsupported;
  return ExchangeResult::kFailed;
}

bool LinuxHost::SyncFolder(const std::string& path) {
  Descriptor folder(::open(NativePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.valid() && ::fsync(folder.get()) == 0;
}

}  // namespace platform
