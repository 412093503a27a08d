#include "archive/CreateFolderPath.h"

void CreateFolderPath(platform::Host& host, std::string path, std::string prefix) {
  const std::size_t separator = path.find('/');
  if (separator == std::string::npos) return;

  const std::string folder = prefix + path.substr(0, separator);
  // A folder that cannot be made shows in the file creation that follows.
  if (!host.Exists(folder)) host.MakeFolder(folder);

  CreateFolderPath(host, path.substr(separator + 1), folder + "/");
}
