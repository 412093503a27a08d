// The desktop form of the message boxes: with a display, the tool starts
// zenity for each message and waits for it; when zenity cannot show the
// dialog, the terminal form takes its place.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/ToolWorkspace.h"

namespace app_testing {
namespace {

using Arguments = std::vector<std::string>;

const Arguments kMainIncompatibleDialog = {
    "--info", "--title=Lumora Monitor File",
    "--text=Lumora Ver 8.2.1 is not compatible with following monitor(s).\n\nZ.", "--no-markup"};
const Arguments kSuccessDialog = {"--info", "--title=Lumora Monitor File", "--text=" + kSuccessText,
                                  "--no-markup"};

// A zenity on PATH that records its arguments, each closed by RS, then the
// ZENITY_ESC it was given, each call closed by US; it ends with
// FAKE_ZENITY_STATUS.
class FakeZenity {
 public:
  explicit FakeZenity(const ToolWorkspace& workspace)
      : bin_(workspace.root() / "bin"), log_(workspace.root() / "zenity.log") {
    testing_support::WriteFile(
        bin_ / "zenity",
        "#!/bin/sh\n"
        "{ for a in \"$@\"; do printf '%s\\036' \"$a\"; done\n"
        "  printf 'ZENITY_ESC=%s\\037' \"$ZENITY_ESC\"; } >> \"$FAKE_ZENITY_LOG\"\n"
        "exit \"$FAKE_ZENITY_STATUS\"\n");
    chmod((bin_ / "zenity").c_str(), 0755);
  }
  std::vector<std::string> Environment(int status) const {
    return {"PATH=" + bin_.string() + ":/usr/bin:/bin", "FAKE_ZENITY_LOG=" + log_.string(),
            "FAKE_ZENITY_STATUS=" + std::to_string(status)};
  }
  // The arguments of each call, without the program name.
  std::vector<Arguments> Calls() const {
    std::vector<Arguments> calls;
    std::istringstream log(testing_support::ReadFile(log_));
    std::string line;
    while (std::getline(log, line, '\037')) {
      EXPECT_TRUE(line.ends_with("ZENITY_ESC=0")) << line;
      Arguments arguments;
      std::size_t start = 0;
      for (std::size_t end; (end = line.find('\036', start)) != std::string::npos;
           start = end + 1) {
        arguments.push_back(line.substr(start, end - start));
      }
      calls.push_back(arguments);
    }
    return calls;
  }

 private:
  std::filesystem::path bin_;
  std::filesystem::path log_;
};

// Environment entries after the base environment: later ones win in the
// tool's getenv only if earlier ones are absent, so PATH goes first.
std::vector<std::string> With(std::vector<std::string> first,
                              const std::vector<std::string>& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

ToolRun RunWith(const ToolWorkspace& workspace, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment) {
  std::vector<std::string> full = environment;
  for (const std::string& entry : BaseEnvironment(workspace.records())) {
    if (!entry.starts_with("PATH=")) full.push_back(entry);
  }
  return RunProgram(ToolPath(), arguments, workspace.package(), full);
}

class DesktopSessionTest : public testing::TestWithParam<std::string> {};

TEST_P(DesktopSessionTest, EachMessageIsAZenityDialogAndNothingIsWritten) {
  ToolWorkspace workspace;
  workspace.WriteStandardPackage();
  workspace.InstallMain();
  const FakeZenity zenity(workspace);
  const ToolRun run = RunWith(workspace, {}, With(zenity.Environment(0), {GetParam()}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, "");
  EXPECT_EQ(zenity.Calls(), (std::vector<Arguments>{kMainIncompatibleDialog, kSuccessDialog}));
}

INSTANTIATE_TEST_SUITE_P(Display, DesktopSessionTest,
                         testing::Values("DISPLAY=:97", "WAYLAND_DISPLAY=wayland-97"));

TEST(DesktopMessageTest, FailureIsAnErrorDialog) {
  ToolWorkspace workspace;
  workspace.WritePackageInfo("<not-well-formed");
  const FakeZenity zenity(workspace);
  const ToolRun run = RunWith(workspace, {"/ec"}, With(zenity.Environment(0), {"DISPLAY=:97"}));
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.standardError, "");
  EXPECT_EQ(zenity.Calls(), (std::vector<Arguments>{{"--error", "--title=Lumora Monitor File",
                                                     "--text=" + kFailureText, "--no-markup"}}));
}

TEST(DesktopMessageTest, TerminalFormWhenTheDialogCannotBeShown) {
  ToolWorkspace workspace;
  workspace.WriteStandardPackage();
  workspace.InstallMain();
  const FakeZenity zenity(workspace);
  const std::string terminalForm =
      InformationBox("Lumora Ver 8.2.1 is not compatible with following monitor(s).\n\nZ.") +
      InformationBox(kSuccessText);

  // zenity fails as it does without a reachable display.
  ToolRun run = RunWith(workspace, {}, With(zenity.Environment(1), {"DISPLAY=:97"}));
  EXPECT_EQ(run.standardError, terminalForm);
  EXPECT_EQ(zenity.Calls().size(), 2u);

  // No zenity on PATH.
  std::filesystem::create_directories(workspace.root() / "empty");
  std::filesystem::remove_all(workspace.mainStore());
  run = RunWith(workspace, {}, {"PATH=" + (workspace.root() / "empty").string(), "DISPLAY=:97"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.standardError, terminalForm);

  // An empty DISPLAY is no desktop session.
  std::filesystem::remove_all(workspace.mainStore());
  run = RunWith(workspace, {}, With(zenity.Environment(0), {"DISPLAY="}));
  EXPECT_EQ(run.standardError, terminalForm);
  EXPECT_EQ(zenity.Calls().size(), 2u);
}

// --- The real dialog under Xvfb ---------------------------------------------

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(std::string(path != nullptr ? path : "") + ":/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = folder + "/" + program;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// An X server of its own on a free display, ended on destruction.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::string& xvfb) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args{xvfb,       "-displayfd", "3", "-nolisten", "tcp",
                                  "-noreset", "-screen",    "0", "640x480x24"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, xvfb.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    // Xvfb writes the number of the free display it has chosen.
    char buffer[32];
    const ssize_t got = pid_ != 0 ? read(fds[0], buffer, sizeof buffer - 1) : -1;
    // Kept open: the server writes the number again at each reset, and a
    // closed pipe would end it.
    readEnd_ = fds[0];
    if (got > 0) number_ = std::string(buffer, static_cast<std::size_t>(got));
    while (!number_.empty() && (number_.back() == '\n')) number_.pop_back();
    if (!number_.empty() && !WaitUntilAccepting()) number_.clear();
  }
  ~VirtualDisplay() {
    if (pid_ != 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    close(readEnd_);
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;
  std::string name() const { return number_.empty() ? "" : ":" + number_; }

 private:
  // The display number comes before the server takes clients: wait until it
  // answers a connection setup (little-endian, protocol 11.0, no
  // authorisation) with success.
  bool WaitUntilAccepting() const {
    const std::string socketPath = "/tmp/.X11-unix/X" + number_;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
      const unsigned char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
      unsigned char answer = 0;
      pollfd readable{fd, POLLIN, 0};
      const bool accepted =
          connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
          write(fd, setup, sizeof setup) == static_cast<ssize_t>(sizeof setup) &&
          poll(&readable, 1, 1000) == 1 && read(fd, &answer, 1) == 1 && answer == 1;
      close(fd);
      if (accepted) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  pid_t pid_ = 0;
  int readEnd_ = -1;
  std::string number_;
};

std::string ReadProcFile(const std::filesystem::path& path) {
  return testing_support::ReadFile(path);
}

// Watches for the zenity process that carries `marker` in its environment;
// once it has stayed up (so it opened the display), records its command
// line and closes it.
class DialogCloser {
 public:
  explicit DialogCloser(std::string marker)
      : marker_(std::move(marker)), thread_([this] { Watch(); }) {}
  ~DialogCloser() { thread_.join(); }
  DialogCloser(const DialogCloser&) = delete;
  DialogCloser& operator=(const DialogCloser&) = delete;
  std::vector<std::string> commandLine() const { return commandLine_; }
  bool stayedUp() const { return stayedUp_; }

 private:
  void Watch() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string environment = ReadProcFile(entry.path() / "environ");
        if (environment.find(marker_ + '\0') == std::string::npos) continue;
        const std::string command = ReadProcFile(entry.path() / "cmdline");
        if (!command.starts_with("zenity")) continue;
        const pid_t pid = std::stoi(entry.path().filename().string());
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        stayedUp_ = kill(pid, 0) == 0;
        std::size_t start = 0;
        for (std::size_t end; (end = command.find('\0', start)) != std::string::npos;
             start = end + 1) {
          commandLine_.push_back(command.substr(start, end - start));
        }
        kill(pid, SIGTERM);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  std::string marker_;
  std::vector<std::string> commandLine_;
  std::atomic<bool> stayedUp_{false};
  std::thread thread_;
};

TEST(RealDesktopTest, ZenityShowsTheMessageOnAnXServer) {
  const std::string xvfb = FindOnPath("Xvfb");
  const std::string zenity = FindOnPath("zenity");
  if (xvfb.empty() || zenity.empty()) GTEST_SKIP() << "needs Xvfb and zenity";
  const VirtualDisplay display(xvfb);
  ASSERT_NE(display.name(), "") << "Xvfb did not start";

  ToolWorkspace workspace;
  const std::string marker = "LMFS_DIALOG_TEST=" + workspace.root().filename().string();
  ToolRun run;
  std::vector<std::string> commandLine;
  bool stayedUp = false;
  {
    DialogCloser closer(marker);
    run =
        RunWith(workspace, {},
                {"PATH=" + std::filesystem::path(zenity).parent_path().string() + ":/usr/bin:/bin",
                 "DISPLAY=" + display.name(), marker});
    commandLine = closer.commandLine();
    stayedUp = closer.stayedUp();
  }
  EXPECT_TRUE(stayedUp);
  EXPECT_EQ(commandLine,
            (std::vector<std::string>{"zenity", "--info", "--title=Lumora Monitor File",
                                      "--text=" + kSuccessText, "--no-markup"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, "");  // shown as a dialog, not on the terminal
}

}  // namespace
}  // namespace app_testing
