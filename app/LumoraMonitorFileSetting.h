#pragma once

#include "platform/Host.h"

// The entry of the tool, run with the package folder as the current
// directory. Returns the exit code: 0, -1 (a step failed) or 1 (the tool
// could not start).
int RunLumoraMonitorFileSetting(platform::Host& host, int argc, char** argv);
