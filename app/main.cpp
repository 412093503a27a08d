#include "app/LumoraMonitorFileSetting.h"
#include "platform/LinuxHost.h"

int main(int argc, char** argv) {
  platform::LinuxHost host;
  // The run result -1 leaves the process as exit status 255.
  return RunLumoraMonitorFileSetting(host, argc, argv);
}
