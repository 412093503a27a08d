#include "platform/ZenityDialog.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

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

// The process environment for zenity, with every way of closing the dialog
// mapped to exit status 0. A status other than 0 then means that no dialog
// was shown (GTK exits with 1 when it cannot open the display, zenity with
// 255 on its own errors), and the message must go to the terminal instead.
std::vector<std::string> DialogEnvironment() {
  static constexpr const char* kExitCodes[] = {"ZENITY_OK=0", "ZENITY_CANCEL=0", "ZENITY_ESC=0",
                                               "ZENITY_EXTRA=0", "ZENITY_TIMEOUT=0"};
  std::vector<std::string> environment;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    if (!variable.starts_with("ZENITY_")) environment.emplace_back(variable);
  }
  for (const char* code : kExitCodes) environment.emplace_back(code);
  return environment;
}

// A null-terminated array of pointers into `strings`, for the exec family.
std::vector<char*> PointerArray(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (const std::string& text : strings) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

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
  std::vector<char*> argv = PointerArray(arguments);
  const std::vector<std::string> environment = DialogEnvironment();
  std::vector<char*> envp = PointerArray(environment);

  SpawnFileActions actions;
  if (!actions.SilenceStandardStreams()) return false;
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), envp.data()) != 0) {
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) == -1) {
    if (errno != EINTR) return true;  // the dialog was started; nothing left to wait for
  }
  if (WIFSIGNALED(status)) return true;  // closed from outside
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
