#include "platform/ZenityDialog.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace platform {
namespace {

// Owns the file actions of one spawn.
class SpawnFileActions {
 public:
  SpawnFileActions() { valid_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnFileActions() {
    if (valid_) posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;

  // Opens /dev/null on the child's standard input, output and error.
  bool SilenceStandardStreams() {
    return valid_ &&
           posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0) == 0;
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  bool valid_ = false;
};

bool IsSetAndNotEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool DesktopSessionAvailable() {
  return IsSetAndNotEmpty("DISPLAY") || IsSetAndNotEmpty("WAYLAND_DISPLAY");
}

bool RunZenityDialog(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  SpawnFileActions actions;
  if (!actions.SilenceStandardStreams()) return false;
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ) != 0) {
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) == -1) {
    if (errno != EINTR) return true;  // the dialog was started; nothing left to wait for
  }
  if (WIFSIGNALED(status)) return true;  // closed from outside
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  return code == 0 || code == 1 || code == 5;
}

}  // namespace platform
