#pragma once

// How the job names its host product: the product code of its records and
// the word its `supportversion` elements use, by product selector.

namespace job {

inline constexpr const char* kMainProductCode = "{5B2C7D90-3E41-4A8F-9C06-71D4E2A8B3F5}";
inline constexpr const char* kSecondProductCode = "{A07F4E62-9D18-4B3C-8E5A-2C96F1B07D84}";

inline constexpr const char* kMainProductWord = "Lumora";
inline constexpr const char* kSecondProductWord = "Tessaro Hub";

// Any non-zero selector means the main product.
inline const char* ProductCode(int mainProduct) {
  return mainProduct != 0 ? kMainProductCode : kSecondProductCode;
}
inline const char* ProductWord(int mainProduct) {
  return mainProduct != 0 ? kMainProductWord : kSecondProductWord;
}

}  // namespace job
