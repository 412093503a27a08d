#pragma once

#include <string>

#include "job/VersionTriple.h"
#include "xml/DOMExplorer.h"

namespace job {

// The host product versions that one model's profile supports, bounds
// included.
struct SupportedRange {
  VersionTriple min = kLowestVersion;
  VersionTriple max = kHighestVersion;

  bool Contains(const VersionTriple& version) const { return min <= version && version <= max; }
};

// The range of the current `model` element for the product named
// `productWord`: from its first direct `supportversion` child whose
// "software" is that word, parts not given keeping the unbounded defaults.
// The `model` element is current again afterwards.
SupportedRange ReadSupportedRange(DOMExplorer& xml, const std::string& productWord);

}  // namespace job
