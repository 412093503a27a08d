#include "app/StringTable.h"

#include <array>

#include "platform/TextEncoding.h"

namespace app {
namespace {

struct TableEntry {
  int id;
  std::string_view english;
  std::string_view japanese;
};

constexpr std::array<TableEntry, 5> kTable{{
    {kToolNameText, "LumoraMonitorFileSetting", "LumoraMonitorFileSetting"},
    {kSuccessText, "Lumora Monitor File has been successfully installed.",
     "Lumora モニターファイルのインストールを完了しました。"},
    {kFailureText, "Failed to install Lumora monitor file.",
     "Lumora モニターファイルのインストールに失敗しました。"},
    {kMainIncompatibleText,
     "Lumora Ver %d.%d.%d is not compatible with following monitor(s).\r\n\r\n",
     "Lumora Ver %d.%d.%d は以下のモニターに対応していません。\r\n\r\n"},
    {kSecondIncompatibleText,
     "Tessaro Hub Ver %d.%d.%d is not compatible with following monitor(s).\r\n\r\n",
     "Tessaro Hub Ver %d.%d.%d は以下のモニターに対応していません。\r\n\r\n"},
}};

}  // namespace

Language LanguageFromSetting(std::string_view setting) {
  return setting.starts_with("ja") ? Language::kJapanese : Language::kEnglish;
}

std::string_view TableText(int id, Language language) {
  for (const TableEntry& entry : kTable) {
    if (entry.id == id) return language == Language::kJapanese ? entry.japanese : entry.english;
  }
  return {};
}

std::string LoadText(platform::Host& host, int id) {
  return platform::Utf8ToNarrow(TableText(id, LanguageFromSetting(host.LanguageSetting())));
}

}  // namespace app
