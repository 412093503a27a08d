#include "app/Switches.h"

#include <string_view>

namespace app {
namespace {

bool IsGiven(int argc, char** argv, std::string_view name) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i] != nullptr && std::string_view(argv[i]) == name) return true;
  }
  return false;
}

}  // namespace

Switches ReadSwitches(int argc, char** argv) {
  Switches switches;
  switches.quiet = IsGiven(argc, argv, "/q");
  switches.mainExtractOnly = IsGiven(argc, argv, "/ec");
  switches.secondExtractOnly = IsGiven(argc, argv, "/ep");
  return switches;
}

}  // namespace app
