#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MessageText.h"

namespace {

using platform::MessageIcon;

TEST(TerminalMessageTextTest, CaptionAndIconKindThenTheText) {
  EXPECT_EQ(
      platform::TerminalMessageText("Lumora Monitor File", "Done.", MessageIcon::kInformation),
      "Lumora Monitor File: Information\nDone.\n");
  EXPECT_EQ(platform::TerminalMessageText("Lumora Monitor File", "Failed.", MessageIcon::kError),
            "Lumora Monitor File: Error\nFailed.\n");
}

TEST(TerminalMessageTextTest, NeverWritesRawControlCharacters) {
  struct Case {
    std::string text;
    std::string shown;
  } cases[] = {
      {"A\r\n\r\nB", "A\n\nB"},
      {"tab\there\nline", "tab\there\nline"},
      {"lone\rCR", "lone^MCR"},
      {"\r\r\n", "^M\n"},
      {"\x1b[31mred", "^[[31mred"},
      {std::string("nul\0!", 5), "nul^@!"},
      {"\x07\x08\x7f", "^G^H^?"},
      // C1 controls in UTF-8, CSI (U+009B) among them.
      {"\xc2\x9b"
       "2J\xc2\x80\xc2\x9f",
       "M-^[2JM-^@M-^_"},
      // Invalid UTF-8: a lone C1 byte, a cut sequence, an overlong ESC.
      {"\x9b"
       "2J",
       "?2J"},
      {"ab\xe3\x83", "ab??"},
      {"\xc0\x9b", "??"},
      {"Lumora モニター ü", "Lumora モニター ü"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::TerminalMessageText("C", c.text, MessageIcon::kInformation),
              "C: Information\n" + c.shown + "\n")
        << c.text;
  }
  EXPECT_EQ(platform::TerminalMessageText("C\x1b", "", MessageIcon::kError), "C^[: Error\n\n");
}

TEST(ZenityArgumentsTest, OneTextArgumentWithMarkupOff) {
  EXPECT_EQ(platform::ZenityArguments("Lumora Monitor File", "Done.", MessageIcon::kInformation),
            (std::vector<std::string>{"zenity", "--info", "--title=Lumora Monitor File",
                                      "--text=Done.", "--no-markup"}));
  EXPECT_EQ(platform::ZenityArguments("T", "-x <b>&amp; \\n $(id)", MessageIcon::kError),
            (std::vector<std::string>{"zenity", "--error", "--title=T",
                                      "--text=-x <b>&amp; \\n $(id)", "--no-markup"}));
}

TEST(ZenityArgumentsTest, TextIsValidUtf8WithLineFeeds) {
  const char text[] = "A\r\n\r\nB\xff\0C モ";
  const std::vector<std::string> arguments =
      platform::ZenityArguments("T", std::string(text, sizeof text - 1), MessageIcon::kInformation);
  ASSERT_EQ(arguments.size(), 5u);
  EXPECT_EQ(arguments[3], "--text=A\n\nB??C モ");
}

}  // namespace
