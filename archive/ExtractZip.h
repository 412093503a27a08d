#pragma once

#include <string>

#include "platform/Host.h"

// Unpacks the entries of the zip archive at `archivePath` below the folder
// `destination`, recreating the folders that the entry names carry. With
// `filter` set, only entries whose output path contains "CALDEF.xml" or
// "CAP.xml" are unpacked. Bytes in front of the archive are accepted.
// Returns 0 for success and -1 for failure; whatever was extracted before a
// failure stays in place.
int ExtractZip(platform::Host& host, std::string archivePath, std::string destination, bool filter);
