#include <gtest/gtest.h>

#include "platform/NativePath.h"
#include "platform/TextEncoding.h"

namespace {

class TextEncodingTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::OpenTextConvertersFor("UTF-8"); }
};

TEST_F(TextEncodingTest, Utf8IsCopiedExactly) {
  ASSERT_TRUE(platform::OpenTextConvertersFor("UTF-8"));
  const std::string text = "Lumora モニター\xff";
  EXPECT_EQ(platform::Utf8ToNarrow(text), text);
  EXPECT_EQ(platform::NarrowToUtf8(text), text);
  ASSERT_TRUE(platform::OpenTextConvertersFor("ANSI_X3.4-1968"));
  EXPECT_EQ(platform::NarrowCharacterSet(), "UTF-8");
}

TEST_F(TextEncodingTest, UnrepresentableCharactersBecomeQuestionMarks) {
  ASSERT_TRUE(platform::OpenTextConvertersFor("ISO-8859-1"));
  EXPECT_EQ(platform::Utf8ToNarrow("caf\xc3\xa9 \xe4\xb8\xad!"), "caf\xe9 ?!");
  EXPECT_EQ(platform::NarrowToUtf8("caf\xe9"), "caf\xc3\xa9");
  ASSERT_TRUE(platform::OpenTextConvertersFor("SHIFT_JIS"));
  EXPECT_EQ(platform::Utf8ToNarrow("\xe3\x83\xa2"), "\x83\x82");  // katakana MO
  EXPECT_EQ(platform::NarrowToUtf8("\x83\x82"), "\xe3\x83\xa2");
  EXPECT_EQ(platform::Utf8ToNarrow("a\xc3"), "a?");  // cut-off sequence
}

TEST_F(TextEncodingTest, UnknownCharacterSetCannotStart) {
  EXPECT_FALSE(platform::OpenTextConvertersFor("NO-SUCH-CHARSET-42"));
  EXPECT_EQ(platform::Utf8ToNarrow("x"), "x");
}

TEST(NativePathTest, BackslashesBecomeSlashes) {
  EXPECT_EQ(platform::NativePath("C:\\a\\/b"), "C:/a//b");
  EXPECT_EQ(platform::NativePath(""), "");
}

}  // namespace
