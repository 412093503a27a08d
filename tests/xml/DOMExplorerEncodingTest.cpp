#include <string>

#include "tests/xml/ExplorerFixture.h"

namespace {

using DOMExplorerEncodingTest = ExplorerFixture;

// <モデル 名前="値">テキスト<子/></モデル> in UTF-8.
const std::string kModelUtf8 = "\xe3\x83\xa2\xe3\x83\x87\xe3\x83\xab";
const std::string kNameUtf8 = "\xe5\x90\x8d\xe5\x89\x8d";
const std::string kValueUtf8 = "\xe5\x80\xa4";
const std::string kTextUtf8 = "\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88";
// The same in Shift_JIS.
const std::string kModelSjis = "\x83\x82\x83\x66\x83\x8b";
const std::string kNameSjis = "\x96\xbc\x91\x4f";
const std::string kValueSjis = "\x92\x6c";
const std::string kTextSjis = "\x83\x65\x83\x4c\x83\x58\x83\x67";

std::string Body(const std::string& model, const std::string& name, const std::string& value,
                 const std::string& text) {
  return "<" + model + " " + name + "=\"" + value + "\">" + text + "\n<c/></" + model + ">";
}

// UTF-16LE with a byte order mark, for ASCII and the few characters above.
std::string Utf16le(const std::u16string& text) {
  std::string bytes = "\xff\xfe";
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

void ExpectUtf8Names(DOMExplorer& explorer) {
  EXPECT_EQ(explorer.GetNodeName(), kModelUtf8);
  EXPECT_EQ(explorer.GetAttribute(kNameUtf8), kValueUtf8);
  EXPECT_EQ(explorer.GetText(), kTextUtf8 + "\r\n");
  EXPECT_EQ(explorer.FindChildByAttribute("c", kNameUtf8, kValueUtf8), 0);
}

TEST_F(DOMExplorerEncodingTest, ShiftJisFileComesBackAsUtf8) {
  ASSERT_EQ(LoadContent("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" +
                        Body(kModelSjis, kNameSjis, kValueSjis, kTextSjis)),
            1);
  ExpectUtf8Names(explorer);
}

TEST_F(DOMExplorerEncodingTest, Utf16FileWithByteOrderMarkComesBackAsUtf8) {
  ASSERT_EQ(LoadContent(Utf16le(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<\u30e2\u30c7\u30eb "
                                u"\u540d\u524d=\"\u5024\">\u30c6\u30ad\u30b9\u30c8\n<c/></\u30e2\u30c7\u30eb>")),
            1);
  ExpectUtf8Names(explorer);
}

TEST_F(DOMExplorerEncodingTest, NarrowTextFollowsTheLocaleCharacterSet) {
  ASSERT_TRUE(platform::OpenTextConvertersFor("SHIFT_JIS"));
  ASSERT_EQ(LoadContent(Body(kModelUtf8, kNameUtf8, kValueUtf8, kTextUtf8)), 1);
  EXPECT_EQ(explorer.GetNodeName(), kModelSjis);
  EXPECT_EQ(explorer.GetAttribute(kNameSjis), kValueSjis);
  EXPECT_EQ(explorer.GetText(), kTextSjis + "\r\n");
  ASSERT_EQ(LoadContent("<r>" + Body(kModelUtf8, kNameUtf8, kValueUtf8, "") + "</r>"), 1);
  EXPECT_EQ(explorer.FindChildByAttribute(kModelSjis, kNameSjis, kValueSjis), 1);
}

TEST_F(DOMExplorerEncodingTest, NamesOutsideTheNarrowSetCompareByTheirReplacement) {
  ASSERT_TRUE(platform::OpenTextConvertersFor("ISO-8859-1"));
  ASSERT_EQ(LoadContent("<r><\xe4\xb8\xad id=\"1\">\xe4\xb8\xad caf\xc3\xa9</\xe4\xb8\xad><\xe6\x96\x87/></r>"), 1);
  ASSERT_EQ(explorer.FindChild("?"), 1);
  EXPECT_EQ(explorer.GetAttribute("id"), "1");
  EXPECT_EQ(explorer.GetText(), "? caf\xe9");
  ASSERT_EQ(explorer.NextSibling(), 1);
  EXPECT_EQ(explorer.GetNodeName(), "?");
}

}  // namespace
