#pragma once

// The command-line switches of the tool.

namespace app {

struct Switches {
  bool quiet = false;              // "/q": no message box at all
  bool mainExtractOnly = false;    // "/ec": unpack only, for the main product
  bool secondExtractOnly = false;  // "/ep": unpack only, for the second product
};

// Looks for each switch in a pass of its own over the arguments after the
// program's name. An argument counts only when it equals the switch exactly;
// anything else is ignored.
Switches ReadSwitches(int argc, char** argv);

}  // namespace app
