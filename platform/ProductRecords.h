#pragma once

// The product records: one "<product code>.record" file per installed host
// product in a records folder, with "Property=Value" lines.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Host.h"

namespace platform {

// LUMORA_PRODUCT_RECORDS when set and not empty, else the system folder.
std::string RecordsFolderFromEnvironment();

// The value of the first line that sets `property` in a record's text.
std::optional<std::string> FindRecordProperty(std::string_view record, std::string_view property);

// Answers a query from the record file of `productCode` in `folder`.
QueryResult QueryProductRecord(const std::string& folder, const std::string& productCode,
                               const std::string& property, std::string* value,
                               std::size_t capacity);

}  // namespace platform
