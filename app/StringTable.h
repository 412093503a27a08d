#pragma once

// The program's string table: texts 103 to 107 in English and Japanese,
// looked up by identifier in the user's language.

#include <string>
#include <string_view>

#include "platform/Host.h"

namespace app {

enum class Language { kEnglish, kJapanese };

inline constexpr int kToolNameText = 103;
inline constexpr int kSuccessText = 104;
inline constexpr int kFailureText = 105;
inline constexpr int kMainIncompatibleText = 106;
inline constexpr int kSecondIncompatibleText = 107;

// Japanese for a setting that begins with "ja", English for anything else.
Language LanguageFromSetting(std::string_view setting);

// The table's text, in UTF-8; "" when the table holds no text of that id.
std::string_view TableText(int id, Language language);

// A text as the program uses it: in the host's language, in the narrow
// character set.
std::string LoadText(platform::Host& host, int id);

}  // namespace app
