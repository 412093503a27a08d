#include "job/SupportedRange.h"

#include "job/NumberScan.h"

namespace job {

SupportedRange ReadSupportedRange(DOMExplorer& xml, const std::string& productWord) {
  SupportedRange range;
  if (!xml.FindChildByAttribute("supportversion", "software", productWord)) return range;
  ScanVersion(xml.GetAttribute("min"), range.min);
  ScanVersion(xml.GetAttribute("max"), range.max);
  xml.MoveToParent();
  return range;
}

}  // namespace job
