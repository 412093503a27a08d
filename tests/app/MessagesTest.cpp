#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "app/StringTable.h"
#include "platform/LinuxHost.h"
#include "platform/testing/TestHost.h"

namespace {

using app::Language;

TEST(LanguageTest, JapaneseOnlyForSettingsThatBeginWithJa) {
  struct Case {
    const char* setting;
    Language language;
  } cases[] = {
      {"ja_JP.UTF-8", Language::kJapanese},
      {"ja_JP.eucJP", Language::kJapanese},
      {"ja", Language::kJapanese},
      {"en_US.UTF-8", Language::kEnglish},
      {"", Language::kEnglish},
      {"C", Language::kEnglish},
      {"POSIX", Language::kEnglish},
      {"JA_JP.UTF-8", Language::kEnglish},
      {"de_DE.UTF-8", Language::kEnglish},
      {" ja_JP", Language::kEnglish},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(app::LanguageFromSetting(c.setting), c.language) << c.setting;
  }
}

TEST(StringTableTest, HoldsTheTextsInBothLanguages) {
  EXPECT_EQ(app::TableText(103, Language::kEnglish), "LumoraMonitorFileSetting");
  EXPECT_EQ(app::TableText(103, Language::kJapanese), "LumoraMonitorFileSetting");
  EXPECT_EQ(app::TableText(104, Language::kEnglish),
            "Lumora Monitor File has been successfully installed.");
  EXPECT_EQ(app::TableText(104, Language::kJapanese),
            "Lumora モニターファイルのインストールを完了しました。");
  EXPECT_EQ(app::TableText(105, Language::kEnglish), "Failed to install Lumora monitor file.");
  EXPECT_EQ(app::TableText(105, Language::kJapanese),
            "Lumora モニターファイルのインストールに失敗しました。");
  EXPECT_EQ(app::TableText(106, Language::kEnglish),
            "Lumora Ver %d.%d.%d is not compatible with following monitor(s).\r\n\r\n");
  EXPECT_EQ(app::TableText(106, Language::kJapanese),
            "Lumora Ver %d.%d.%d は以下のモニターに対応していません。\r\n\r\n");
  EXPECT_EQ(app::TableText(107, Language::kEnglish),
            "Tessaro Hub Ver %d.%d.%d is not compatible with following monitor(s).\r\n\r\n");
  EXPECT_EQ(app::TableText(107, Language::kJapanese),
            "Tessaro Hub Ver %d.%d.%d は以下のモニターに対応していません。\r\n\r\n");
  EXPECT_EQ(app::TableText(102, Language::kEnglish), "");
  EXPECT_EQ(app::TableText(108, Language::kJapanese), "");
}

TEST(FormatVersionTextTest, PutsTheTripleInPlaceOfThePlaceholders) {
  EXPECT_EQ(app::FormatVersionText("Ver %d.%d.%d x", 8, 2, 1), "Ver 8.2.1 x");
  EXPECT_EQ(app::FormatVersionText("%d.%d.%d", -1, 0, INT_MAX), "-1.0.2147483647");
  EXPECT_EQ(app::FormatVersionText("%d", INT_MIN, 0, 0), "-2147483648");
  EXPECT_EQ(app::FormatVersionText("100%% %d.%d.%d %d %s %", 1, 2, 3), "100% 1.2.3 %d %s %");
  EXPECT_EQ(app::FormatVersionText("", 1, 2, 3), "");
}

struct CompositionCase {
  std::vector<std::string> names;
  std::string expectedTail;
};

void PrintTo(const CompositionCase& c, std::ostream* out) { *out << c.expectedTail; }

class IncompatibleMessageTest : public testing::TestWithParam<CompositionCase> {};

TEST_P(IncompatibleMessageTest, ListsTheNamesInOrderAfterAnEmptyLine) {
  const std::string text(app::TableText(106, Language::kEnglish));
  EXPECT_EQ(app::ComposeIncompatibleMessage(text, 8, 2, 1, GetParam().names),
            "Lumora Ver 8.2.1 is not compatible with following monitor(s).\r\n\r\n" +
                GetParam().expectedTail);
}

INSTANTIATE_TEST_SUITE_P(Names, IncompatibleMessageTest,
                         testing::Values(CompositionCase{{"M1"}, "M1."},
                                         CompositionCase{{"M1", "M2"}, "M1, M2."},
                                         CompositionCase{{"A", "B", "C"}, "A, B, C."},
                                         // Neither sorted nor de-duplicated.
                                         CompositionCase{{"B", "A", "B"}, "B, A, B."},
                                         CompositionCase{{"", "x y"}, ", x y."}));

TEST(IncompatibleMessageTest, AMissingTextLeavesOnlyTheNames) {
  EXPECT_EQ(app::ComposeIncompatibleMessage("", 8, 2, 1, {"A", "B"}), "A, B.");
}

class ShownMessagesTest : public testing::Test {
 protected:
  platform::LinuxHost real_{"", 0};
  platform::TestHost host_{real_};
};

TEST_F(ShownMessagesTest, FinalMessagesCarryTheirIcons) {
  app::ShowFinalMessage(host_, 0);
  app::ShowFinalMessage(host_, -1);
  host_.language = "ja_JP.UTF-8";
  app::ShowFinalMessage(host_, 0);
  app::ShowFinalMessage(host_, -1);
  ASSERT_EQ(host_.messages.size(), 4u);
  for (const auto& message : host_.messages) EXPECT_EQ(message.caption, "Lumora Monitor File");
  EXPECT_EQ(host_.messages[0].text, "Lumora Monitor File has been successfully installed.");
  EXPECT_EQ(host_.messages[0].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(host_.messages[1].text, "Failed to install Lumora monitor file.");
  EXPECT_EQ(host_.messages[1].icon, platform::MessageIcon::kError);
  EXPECT_EQ(host_.messages[2].text, "Lumora モニターファイルのインストールを完了しました。");
  EXPECT_EQ(host_.messages[2].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(host_.messages[3].text, "Lumora モニターファイルのインストールに失敗しました。");
  EXPECT_EQ(host_.messages[3].icon, platform::MessageIcon::kError);
}

TEST_F(ShownMessagesTest, IncompatibleMessagesUseTheirProductsText) {
  host_.language = "ja";
  app::ShowIncompatibleMessage(host_, 107, 3, 0, 7, {"X1", "X2"});
  host_.language = "";
  app::ShowIncompatibleMessage(host_, 106, 8, 2, 1, {"M1"});
  ASSERT_EQ(host_.messages.size(), 2u);
  EXPECT_EQ(host_.messages[0].caption, "Lumora Monitor File");
  EXPECT_EQ(host_.messages[0].text,
            "Tessaro Hub Ver 3.0.7 は以下のモニターに対応していません。\r\n\r\nX1, X2.");
  EXPECT_EQ(host_.messages[0].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(host_.messages[1].text,
            "Lumora Ver 8.2.1 is not compatible with following monitor(s).\r\n\r\nM1.");
  EXPECT_EQ(host_.messages[1].icon, platform::MessageIcon::kInformation);
}

}  // namespace
