#include "platform/LinuxHost.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/MessageBox.h"
#include "platform/ProductRecords.h"
#include "platform/TextEncoding.h"

#ifndef LMFS_WRITE_PAUSE_MS
#define LMFS_WRITE_PAUSE_MS 10
#endif

namespace platform {

LinuxHost::LinuxHost() : LinuxHost(RecordsFolderFromEnvironment(), LMFS_WRITE_PAUSE_MS) {}

LinuxHost::LinuxHost(std::string recordsFolder, unsigned writePauseMilliseconds)
    : recordsFolder_(std::move(recordsFolder)), writePauseMilliseconds_(writePauseMilliseconds) {}

bool LinuxHost::InitializeFramework() { return OpenTextConverters(); }

void LinuxHost::WriteToStandardOutput(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::string LinuxHost::LanguageSetting() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

QueryResult LinuxHost::QueryProductInfo(const std::string& productCode,
                                        const std::string& property, std::string* value,
                                        std::size_t capacity) {
  return QueryProductRecord(recordsFolder_, productCode, property, value, capacity);
}

bool LinuxHost::CurrentDirectory(std::string& path) {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) return false;
  path = buffer;
  return true;
}

void LinuxHost::WritePause() {
  if (writePauseMilliseconds_ > 0) {
    // The default timer slack of 50 us lets every pause run that much long;
    // over the hundreds of pauses of one run that adds up to about a percent
    // of the run. The tightest slack keeps each pause close to its length.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    std::this_thread::sleep_for(std::chrono::milliseconds(writePauseMilliseconds_));
  }
}

void LinuxHost::ShowMessage(const std::string& caption, const std::string& text,
                            MessageIcon icon) {
  ShowMessageBox(caption, text, icon);
}

}  // namespace platform
