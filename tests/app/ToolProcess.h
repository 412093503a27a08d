#pragma once

// Runs the built tool as a process of its own, the way a user starts it:
// in a folder, with a chosen environment, standard input not a terminal.

#include <filesystem>
#include <string>
#include <vector>

namespace app_testing {

struct ToolRun {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string standardOutput;
  std::string standardError;
};

// The path of the built LumoraMonitorFileSetting.
std::string ToolPath();

// Runs `program` with `arguments` (after the program name) in `folder`, with
// exactly `environment` ("NAME=value" entries) and /dev/null as standard input.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& folder,
                   const std::vector<std::string>& environment);

// The environment of every run: PATH, the records folder, and the
// sanitizer settings of the test process, if any. No display, no language.
std::vector<std::string> BaseEnvironment(const std::filesystem::path& recordsFolder);

}  // namespace app_testing
