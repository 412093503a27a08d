#pragma once

// The whole process of the tool: start-up, switches, detection of the host
// products, the main and the second product runs, and the final message. A
// template over the job type, like RunProduct; the tool itself runs it with
// MonitorFileJob (LumoraMonitorFileSetting.h).

#include <string_view>

#include "app/Messages.h"
#include "app/ProductRun.h"
#include "app/StringTable.h"
#include "app/Switches.h"
#include "job/HostProduct.h"
#include "platform/Host.h"

namespace app {

// Written to standard output, in UTF-8, when the tool cannot start.
inline constexpr std::string_view kStartupFailureText =
    "致命的なエラー: MFC の初期化ができませんでした。\n";

// True when the product's records answer "InstalledProductName".
inline bool IsProductInstalled(platform::Host& host, const char* productCode) {
  return host.QueryProductInfo(productCode, "InstalledProductName", nullptr, 0) ==
         platform::kQuerySuccess;
}

// Returns the exit code: 0 when nothing failed, -1 when a step failed, 1 when
// the tool could not start.
template <typename Job>
int RunToolSequence(platform::Host& host, int argc, char** argv) {
  if (!host.InitializeFramework()) {
    host.WriteToStandardOutput(kStartupFailureText);
    return 1;
  }
  const Switches switches = ReadSwitches(argc, argv);
  // Both products are looked up before any run, whatever the switches.
  const bool mainInstalled = IsProductInstalled(host, job::kMainProductCode);
  const bool secondInstalled = IsProductInstalled(host, job::kSecondProductCode);

  int result = 0;
  if ((mainInstalled || switches.mainExtractOnly) && !switches.secondExtractOnly) {
    if (!RunProduct<Job>(host,
                         {1, switches.mainExtractOnly, switches.quiet, kMainIncompatibleText})) {
      result = -1;
    }
  }
  // A failed main run leaves the second product alone.
  if ((secondInstalled || switches.secondExtractOnly) && !switches.mainExtractOnly && result == 0) {
    if (!RunProduct<Job>(
            host, {0, switches.secondExtractOnly, switches.quiet, kSecondIncompatibleText})) {
      result = -1;
    }
  }
  if (!switches.quiet) ShowFinalMessage(host, result);
  return result;
}

}  // namespace app
