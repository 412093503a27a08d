#pragma once

// Paths of a host product's profile store, built as the product records its
// install location: the location ends with a separator and the store's parts
// are appended to it directly.

#include <string>

namespace job {

// install location + "Profile\HALVOR ONA\"
std::string MakerFolder(const std::string& installLocation);

// The installed folder of one model inside the maker folder.
std::string ModelFolder(const std::string& installLocation, const std::string& model);

// The installed "montype.xml" of one model.
std::string InstalledMonitorType(const std::string& installLocation, const std::string& model);

}  // namespace job
