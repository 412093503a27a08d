#pragma once

#include <string>

#include "platform/Host.h"

// Makes sure of every folder along `path`, levels separated by "/" only: for
// each "/" the text before it, after `prefix`, is created when no file or
// folder of that name exists. The part after the last "/" never becomes a
// folder. Failures are not reported; the caller's next step notices them.
void CreateFolderPath(platform::Host& host, std::string path, std::string prefix);
