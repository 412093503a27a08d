#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace bench {

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (const std::string_view part : parts) joined += part;
  return joined;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

ChildRun RunChild(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                  const std::vector<std::string>& environment) {
  std::vector<std::string> variables = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) variables.emplace_back(*entry);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  std::vector<std::string> arguments = argv;
  std::vector<char*> args;
  for (std::string& argument : arguments) args.push_back(argument.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  ChildRun run;
  const double start = Now();
  pid_t pid = 0;
  const int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error(std::string("cannot start ") + args[0] + ": " + std::strerror(error));
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("wait4 failed");
  run.seconds = Now() - start;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakRssKiB = usage.ru_maxrss;
  return run;
}

void FreshFolder(const std::filesystem::path& folder) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
}

std::string ProfileLikeText(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"<Gamma value=\"", "\"/>\n", "<Point x=\"", "\" y=\"", "<Channel>",
                                       "</Channel>\n", "  ", "Red", "Green", "Blue", "<Matrix>", "</Matrix>\n"};
  std::string text;
  unsigned state = seed * 2654435761u + 1;
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    const unsigned pick = (state >> 16) % 16;
    if (pick < 12) {
      text += kWords[pick];
    } else {
      text += std::to_string((state >> 8) % 100000);
    }
  }
  text.resize(size);
  return text;
}

}  // namespace bench
