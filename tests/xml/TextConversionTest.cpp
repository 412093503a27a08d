#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "xml/TextConversion.h"

namespace {

const xmlChar* Chars(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

class TextConversionTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::OpenTextConvertersFor("UTF-8"); }
};

TEST_F(TextConversionTest, EmptyAndNullInputs) {
  const WideString empty = NarrowToWide("");
  ASSERT_NE(empty.get(), nullptr);
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_EQ(empty.get()[0], 0);
  EXPECT_EQ(WideToNarrow(nullptr), "");
  EXPECT_EQ(WideToNarrow(Chars("")), "");
  EXPECT_EQ(WideToNarrow(empty.get()), "");
}

TEST_F(TextConversionTest, EmbeddedNulsCountOnlyOnTheWayIn) {
  const std::string narrow("ab\0cd", 5);
  const WideString wide = NarrowToWide(narrow);
  EXPECT_EQ(wide.size(), 5u);
  EXPECT_EQ(wide.view(), narrow);
  EXPECT_EQ(wide.get()[5], 0) << "terminated beyond the stored length";
  EXPECT_EQ(WideToNarrow(wide.get()), "ab");
}

TEST_F(TextConversionTest, ConvertsThroughTheNarrowCharacterSet) {
  const std::string text = "Lumora \xe3\x83\xa2\xe3\x83\x8b\xe3\x82\xbf\xe3\x83\xbc";
  EXPECT_EQ(NarrowToWide(text).view(), text) << "UTF-8 is copied";
  EXPECT_EQ(WideToNarrow(Chars(text.c_str())), text);

  ASSERT_TRUE(platform::OpenTextConvertersFor("ISO-8859-1"));
  EXPECT_EQ(WideToNarrow(Chars("caf\xc3\xa9 \xe4\xb8\xad")), "caf\xe9 ?") << "no place for a Chinese character";
  EXPECT_EQ(NarrowToWide("caf\xe9").view(), "caf\xc3\xa9");

  ASSERT_TRUE(platform::OpenTextConvertersFor("SHIFT_JIS"));
  EXPECT_EQ(WideToNarrow(Chars("\xe3\x83\xa2\xe3\x83\x87\xe3\x83\xab")), "\x83\x82\x83\x66\x83\x8b");
  EXPECT_EQ(NarrowToWide("\x83\x82\x83\x66\x83\x8b").view(), "\xe3\x83\xa2\xe3\x83\x87\xe3\x83\xab");
}

TEST(ReplaceAllTest, ReplacesLeftToRightWithoutOverlapOrRescanning) {
  struct Row {
    std::string text, find, replacement, result;
    int count;
  };
  const std::vector<Row> rows = {
      {"a\nb", "", "x", "a\nb", 0},
      {"abc", "\n", "\r\n", "abc", 0},
      {"", "\n", "\r\n", "", 0},
      {"two\nlines", "\n", "\r\n", "two\r\nlines", 1},
      {"\n\n", "\n", "\r\n", "\r\n\r\n", 2},
      {"a\r\nb\n", "\n", "\r\n", "a\r\r\nb\r\n", 2},
      {"aaa", "aa", "b", "ba", 1},
      {"aaaa", "aa", "b", "bb", 2},
      {"ab", "a", "aa", "aab", 1},
      {"xyx", "x", "", "y", 2},
      {std::string("a\0b\0", 4), std::string("\0", 1), "-", "a-b-", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text + "|" + row.find);
    std::string text = row.text;
    EXPECT_EQ(ReplaceAll(text, row.find, row.replacement), row.count);
    EXPECT_EQ(text, row.result);
  }
}

}  // namespace
