#include <string>
#include <vector>

#include "tests/xml/ExplorerFixture.h"

namespace {

using DOMExplorerTextTest = ExplorerFixture;

// GetText of the root element for a body written between its tags.
TEST_F(DOMExplorerTextTest, ReadsTheFirstTextChildWithCarriageReturns) {
  struct Row {
    std::string body;
    std::string text;
  };
  const std::vector<Row> rows = {
      {"plain", "plain"},
      {"", ""},
      {"  42  ", "  42  "},
      {"two\nlines", "two\r\nlines"},
      {"a\n\nb", "a\r\n\r\nb"},
      {"written\r\nwith CR LF", "written\r\nwith CR LF"},  // the parser turns CR LF into LF
      {"lone\rCR", "lone\r\nCR"},
      {"char&#13;\nref", "char\r\r\nref"},
      {"a&amp;b&lt;&#x4E2D;", "a&b<\xe4\xb8\xad"},
      {"before<!-- comment -->after", "before"},
      {"<![CDATA[only cdata]]>", ""},
      {"<![CDATA[cdata]]>then text", "then text"},
      {"<child>inner</child>tail", "tail"},
      {"<child>inner</child>", ""},
      {"x&y;z", "x"},  // an entity reference is not text
      {"&y;", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    ASSERT_EQ(LoadContent("<!DOCTYPE r [<!ENTITY y \"yy\">]><r>" + row.body + "</r>"), 1);
    EXPECT_EQ(explorer.GetText(), row.text);
  }
}

TEST_F(DOMExplorerTextTest, ReadsTheCurrentElementOnly) {
  ASSERT_EQ(LoadContent("<r>\n  <ProfileVersion>3\n</ProfileVersion>\n</r>"), 1);
  EXPECT_EQ(explorer.GetText(), "\r\n  ");
  ASSERT_EQ(explorer.FindChild("ProfileVersion"), 1);
  EXPECT_EQ(explorer.GetText(), "3\r\n");
}

}  // namespace
