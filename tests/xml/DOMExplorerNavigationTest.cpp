#include <string>
#include <vector>

#include "tests/xml/ExplorerFixture.h"

namespace {

using DOMExplorerNavigationTest = ExplorerFixture;

const char kPackage[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- package description -->\n"
    "<LumoraMonitorFileInfo>\n"
    "  <profile name=\"first\"/>\n"
    "  <!-- between -->\n"
    "  text between\n"
    "  <?note between?>\n"
    "  <profile name=\"second\"><LumoraMonitorFileInfo name=\"inner\"/></profile>\n"
    "  <other name=\"third\"/>\n"
    "</LumoraMonitorFileInfo>\n";

TEST_F(DOMExplorerNavigationTest, WalksProfilesOverCommentsAndText) {
  ASSERT_EQ(LoadContent(kPackage), 1);
  EXPECT_EQ(explorer.GetNodeName(), "LumoraMonitorFileInfo");
  EXPECT_EQ(explorer.MoveToParent(), 0) << "the root's parent is the document";
  EXPECT_EQ(explorer.GetNodeName(), "LumoraMonitorFileInfo");

  ASSERT_EQ(explorer.FindChild("profile"), 1);
  EXPECT_EQ(explorer.GetAttribute("name"), "first");
  ASSERT_EQ(explorer.NextSibling(), 1) << "steps over the comment, the text and the instruction";
  EXPECT_EQ(explorer.GetAttribute("name"), "second");
  ASSERT_EQ(explorer.NextSibling(), 1) << "whatever the next element's name";
  EXPECT_EQ(explorer.GetNodeName(), "other");
  EXPECT_EQ(explorer.NextSibling(), 0);
  EXPECT_EQ(explorer.GetAttribute("name"), "third") << "the last element stays current";

  ASSERT_EQ(explorer.MoveToParent(), 1);
  EXPECT_EQ(explorer.GetNodeName(), "LumoraMonitorFileInfo");
  EXPECT_EQ(explorer.GetAttribute("name"), "");
}

TEST_F(DOMExplorerNavigationTest, RootNameCountsOnlyWhereAChildBearsIt) {
  ASSERT_EQ(LoadContent("<r><a/><b/></r>"), 1);
  EXPECT_EQ(explorer.FindChild("r"), 0);
  EXPECT_EQ(explorer.GetNodeName(), "r");

  ASSERT_EQ(LoadContent(kPackage), 1);
  EXPECT_EQ(explorer.FindChild("LumoraMonitorFileInfo"), 0) << "only grandchildren bear the name";
  ASSERT_EQ(explorer.FindChild("profile"), 1);
  ASSERT_EQ(explorer.NextSibling(), 1);
  ASSERT_EQ(explorer.FindChild("LumoraMonitorFileInfo"), 1);
  EXPECT_EQ(explorer.GetAttribute("name"), "inner");
}

// Child searches from the root of one document; each row names the "id" of
// the element that must become current, or "" when the search must fail and
// leave the root current.
TEST_F(DOMExplorerNavigationTest, ChildSearchesCompareNamesAndValuesExactly) {
  ASSERT_EQ(LoadContent("<r xmlns:x=\"urn:x\" xmlns:p=\"urn:p\">\n"
                        "  <supportversion id=\"1\"/>\n"
                        "  <supportversion id=\"2\" software=\"8.2\"/>\n"
                        "  <supportversion id=\"3\" software=\"\"/>\n"
                        "  <supportversion id=\"4\" x:software=\"9\"/>\n"
                        "  <supportversion id=\"5\" software=\"8.2\"/>\n"
                        "  <Model id=\"6\"/><model id=\"7\"/>\n"
                        "  <p:model id=\"8\" xmlns:q=\"urn:q\"/>\n"
                        "</r>"),
            1);
  struct Row {
    std::string tag, attribute, value;  // an empty attribute means FindChild
    std::string id;
  };
  const std::vector<Row> rows = {
      {"supportversion", "", "", "1"},
      {"supportversion", "software", "8.2", "2"},
      {"supportversion", "software", "", "3"},  // present and empty; 1 has none
      {"supportversion", "software", "9", ""},  // x:software is another name
      {"supportversion", "x:software", "9", "4"},
      {"supportversion", "software", "8.3", ""},
      {"supportversion", "Software", "8.2", ""},
      {"supportversion", "software", "8.2 ", ""},
      {"Supportversion", "", "", ""},
      {"model", "", "", "7"},
      {"Model", "", "", "6"},
      {"MODEL", "", "", ""},
      {"p:model", "", "", "8"},
      {"p:model", "xmlns:q", "urn:q", "8"},
      {"r", "", "", ""},
      {"", "", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag + " " + row.attribute + "=" + row.value);
    ASSERT_EQ(explorer.MoveToRoot(), 1);
    const int found = row.attribute.empty() ? explorer.FindChild(row.tag)
                                            : explorer.FindChildByAttribute(row.tag, row.attribute, row.value);
    EXPECT_EQ(found, row.id.empty() ? 0 : 1);
    EXPECT_EQ(explorer.GetNodeName(), row.id.empty() ? "r" : row.tag);
    EXPECT_EQ(explorer.GetAttribute("id"), row.id);
  }
}

TEST_F(DOMExplorerNavigationTest, AttributesAreReadByTheirNameAsWritten) {
  ASSERT_EQ(LoadContent("<!DOCTYPE r [<!ENTITY y \"yy\"><!ENTITY z \"&lt;&y;&#65;\">]>\n"
                        "<r xmlns=\"urn:d\" xmlns:q=\"urn:q\" a=\"v\" empty=\"\" q:b=\"w\" e=\"1&amp;2&#x41;\""
                        " n=\"1&y;2&z;\" s=\" line\nnext\"/>"),
            1);
  EXPECT_EQ(explorer.GetNodeName(), "r");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"a", "v"},       {"A", ""},          {"empty", ""},       {"missing", ""}, {"b", ""},
      {"q:b", "w"},     {"xmlns", "urn:d"}, {"xmlns:q", "urn:q"}, {"e", "1&2A"}, {"n", "1yy2<yyA"},
      {"s", " line next"},  // attribute-value normalisation turns the line feed into a space
      {std::string("a\0b", 3), ""},
  };
  for (const auto& [name, value] : rows) {
    SCOPED_TRACE(name);
    EXPECT_EQ(explorer.GetAttribute(name), value);
  }
}

TEST_F(DOMExplorerNavigationTest, AnotherLoadReplacesTheDocument) {
  ASSERT_EQ(LoadContent("<first><only/></first>", "first.xml"), 1);
  ASSERT_EQ(explorer.FindChild("only"), 1);
  ASSERT_EQ(LoadContent("<second><next/></second>", "second.xml"), 1);
  EXPECT_EQ(explorer.GetNodeName(), "second");
  EXPECT_EQ(explorer.FindChild("only"), 0);
  EXPECT_EQ(explorer.FindChild("next"), 1);
}

TEST_F(DOMExplorerNavigationTest, BackslashPathsAreResolvedAgainstTheCurrentDirectory) {
  Write("sub/pkg.xml", "<pkg/>");
  testing_support::CurrentDirectoryScope inFolder(folder.path());
  ASSERT_EQ(explorer.Load("sub\\pkg.xml"), 1);
  EXPECT_EQ(explorer.GetNodeName(), "pkg");
  EXPECT_EQ(explorer.Load(".\\sub\\pkg.xml"), 1);
}

}  // namespace
