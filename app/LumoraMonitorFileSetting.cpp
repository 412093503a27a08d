#include "app/LumoraMonitorFileSetting.h"

#include "app/ToolSequence.h"
#include "job/MonitorFileJob.h"

int RunLumoraMonitorFileSetting(platform::Host& host, int argc, char** argv) {
  return app::RunToolSequence<MonitorFileJob>(host, argc, argv);
}
