#pragma once

#include <string>

#include "platform/Host.h"

// Checks the monitor file at `source` (a 25-byte header with the payload's
// length and additive checksum, then the payload) and writes the payload to
// destination + "\" + source + ".zip". Returns 1 when the container is valid
// and its payload has been written, 0 otherwise. The output file is never
// removed, whatever the outcome; the destination folder must exist.
int UnpackMonitorFile(platform::Host& host, std::string source, std::string destination);
