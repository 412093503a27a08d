#include "platform/ProductRecords.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

std::string RecordsFolderFromEnvironment() {
  const char* folder = std::getenv("LUMORA_PRODUCT_RECORDS");
  if (folder != nullptr && *folder != '\0') return folder;
  return "/var/lib/lumora/product-records";
}

std::optional<std::string> FindRecordProperty(std::string_view record, std::string_view property) {
  while (!record.empty()) {
    const std::size_t end = record.find('\n');
    std::string_view line = record.substr(0, end);
    record = end == std::string_view::npos ? std::string_view() : record.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (line.substr(0, equals) == property) return std::string(line.substr(equals + 1));
  }
  return std::nullopt;
}

QueryResult QueryProductRecord(const std::string& folder, const std::string& productCode,
                               const std::string& property, std::string* value,
                               std::size_t capacity) {
  std::ifstream file(folder + "/" + productCode + ".record", std::ios::binary);
  if (!file) return kQueryFailure;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return kQueryFailure;
  std::optional<std::string> answer = FindRecordProperty(content.str(), property);
  if (!answer) return kQueryFailure;
  if (value == nullptr) return kQuerySuccess;
  if (property == "InstallLocation" && !answer->empty() && answer->back() != '/' &&
      answer->back() != '\\') {
    answer->push_back('/');
  }
  if (answer->size() + 1 > capacity) return kQueryFailure;
  *value = std::move(*answer);
  return kQuerySuccess;
}

}  // namespace platform
