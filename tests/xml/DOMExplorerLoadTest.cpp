#include <zlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/testing/TestHost.h"
#include "tests/xml/ExplorerFixture.h"

namespace {

using DOMExplorerLoadTest = ExplorerFixture;

std::string Gzip(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size())) + 32;
  std::string out(size, '\0');
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Nested entities that name 10^9 copies of "lol" in nine declarations.
std::string BillionLaughs(const std::string& use) {
  std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY lol0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    std::string refs;
    for (int j = 0; j < 10; ++j) refs += "&lol" + std::to_string(i - 1) + ";";
    doc += "<!ENTITY lol" + std::to_string(i) + " \"" + refs + "\">\n";
  }
  return doc + "]>\n" + use;
}

// One entity of 50 kB referenced 10000 times: 500 MB once expanded.
std::string QuadraticBlowup(bool inAttribute) {
  std::string refs;
  for (int i = 0; i < 10000; ++i) refs += "&a;";
  const std::string use = inAttribute ? "<r a=\"" + refs + "\"/>" : "<r>" + refs + "</r>";
  return "<!DOCTYPE r [<!ENTITY a \"" + std::string(50000, 'A') + "\">]>" + use;
}

void ExpectEmptyAndSafe(DOMExplorer& explorer) {
  EXPECT_EQ(explorer.GetNodeName(), "");
  EXPECT_EQ(explorer.GetText(), "");
  EXPECT_EQ(explorer.GetAttribute("name"), "");
  EXPECT_EQ(explorer.FindChild("ProfileVersion"), 0);
  EXPECT_EQ(explorer.FindChildByAttribute("profile", "name", ""), 0);
  EXPECT_EQ(explorer.NextSibling(), 0);
  EXPECT_EQ(explorer.MoveToParent(), 0);
  EXPECT_EQ(explorer.GetNodeName(), "");
}

struct Refused {
  std::string what;
  std::string content;
};

std::vector<Refused> RefusedContents() {
  return {
      {"empty file", ""},
      {"unclosed element", "<r><profile name=\"a\"></r>"},
      {"text only", "just text"},
      {"two roots", "<a/><b/>"},
      {"undeclared entity", "<r>&nope;</r>"},
      {"NUL byte", std::string("<r>\0</r>", 8)},
      {"gzip-compressed document", Gzip("<r><profile name=\"a\"/></r>")},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"X-NO-SUCH\"?><r/>"},
      {"invalid Shift_JIS inside the root", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r>\x85\x31</r>"},
      {"invalid Shift_JIS after the root", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r/>\x85\x31"},
      {"invalid UTF-8", "<r>\xff\xfe</r>"},
      {"billion laughs in text", BillionLaughs("<r>&lol9;</r>")},
      {"billion laughs in an attribute", BillionLaughs("<r a=\"&lol9;\"/>")},
      {"quadratic blowup in an attribute", QuadraticBlowup(true)},
  };
}

TEST_F(DOMExplorerLoadTest, RefusedFilesLeaveAnEmptyUsableNavigator) {
  const std::string good = Write("good.xml", "<good><child/></good>");
  for (const Refused& row : RefusedContents()) {
    SCOPED_TRACE(row.what);
    ASSERT_EQ(explorer.Load(good), 1);
    ASSERT_EQ(explorer.FindChild("child"), 1);
    EXPECT_EQ(LoadContent(row.content), 0);
    ExpectEmptyAndSafe(explorer);
  }
  EXPECT_EQ(explorer.Load((folder / "missing.xml").string()), 0);
  ExpectEmptyAndSafe(explorer);
  EXPECT_EQ(explorer.Load(folder.str()), 0) << "a folder";
  ExpectEmptyAndSafe(explorer);
  EXPECT_EQ(explorer.Load(good + std::string("\0ignored", 8)), 0) << "a path with a NUL names no file";
  ExpectEmptyAndSafe(explorer);
  EXPECT_EQ(explorer.Load(good), 1) << "the navigator starts over";
}

TEST_F(DOMExplorerLoadTest, EveryOperationIsSafeBeforeAnyLoad) {
  ExpectEmptyAndSafe(explorer);
  EXPECT_EQ(explorer.MoveToRoot(), 0);
  explorer.CreateDocument();
  ExpectEmptyAndSafe(explorer);
  EXPECT_EQ(explorer.FindChild("xml"), 0) << "the declaration is no element";
  EXPECT_EQ(explorer.MoveToRoot(), 0);
}

TEST_F(DOMExplorerLoadTest, ReadErrorsFailTheLoad) {
  const std::string path = Write("pkg.xml", "<pkg/>");
  for (std::size_t failedRead : {0u, 1u}) {
    SCOPED_TRACE(failedRead);
    platform::TestHost testHost(host);
    testHost.FailOperation("Read", "pkg.xml", failedRead, 1);
    DOMExplorer reader(testHost);
    EXPECT_EQ(reader.Load(path), 0);
    ExpectEmptyAndSafe(reader);
    EXPECT_EQ(reader.Load(path), 1) << "the next load reads again";
    EXPECT_EQ(testHost.CountCalls("OpenForReading"), 2u);
  }
}

TEST_F(DOMExplorerLoadTest, LibxmlWritesNothingForAnyInput) {
  std::vector<std::string> contents;
  for (const Refused& row : RefusedContents()) contents.push_back(row.content);
  contents.push_back("<?xml version=\"1.1\"?><r/>");                              // version warning
  contents.push_back("<r><q:m xmlns:p=\"urn:p\" p:a=\"1\" q:b=\"2\"/></r>");       // undeclared prefix
  contents.push_back("<!DOCTYPE r SYSTEM \"nowhere.dtd\"><r>&undeclared;</r>");  // entity warning
  contents.push_back("<r xmlns=\"relative\"/>");                                 // namespace warning
  for (const std::string& content : contents) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadContent(content);
    explorer.GetText();
    explorer.FindChild("m");
    explorer.GetAttribute("a");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out + err, "") << content.substr(0, 80);
  }
}

TEST_F(DOMExplorerLoadTest, ExpansionBombsEndQuicklyAndSmall) {
  const std::vector<std::string> bombs = {BillionLaughs("<r a=\"&lol9;\">&lol9;</r>"),
                                          QuadraticBlowup(false), QuadraticBlowup(true)};
  for (const std::string& bomb : bombs) {
    const auto start = std::chrono::steady_clock::now();
    if (LoadContent(bomb) == 1) {
      EXPECT_LT(explorer.GetText().size(), 1000000u);
      EXPECT_LT(explorer.GetAttribute("a").size(), 1000000u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  }
}

TEST_F(DOMExplorerLoadTest, ExternalFilesNeverReachTheNavigatorsText) {
  const std::string secret = "TOP-SECRET-CONTENT";
  Write("secret.txt", secret);
  Write("secret.dtd", "<!ATTLIST r a CDATA \"" + secret + "\"><!ENTITY leak \"" + secret + "\">");
  const std::vector<std::string> documents = {
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r a=\"v\">&x;<c>&x;</c></r>",
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\"><!ATTLIST r a CDATA \"&x;\">]><r/>",
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r a=\"&x;\"/>",
      "<!DOCTYPE r SYSTEM \"secret.dtd\"><r>&leak;<c/></r>",
      "<!DOCTYPE r [<!ENTITY % p SYSTEM \"secret.dtd\"> %p;]><r>&leak;<c a=\"&leak;\"/></r>",
      "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + folder.str() + "/secret.txt\">]><r>&x;</r>",
      "<r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"secret.txt\" parse=\"text\"/></r>",
  };
  for (const std::string& document : documents) {
    SCOPED_TRACE(document);
    LoadContent(document);
    std::string seen = explorer.GetNodeName() + explorer.GetText() + explorer.GetAttribute("a");
    if (explorer.FindChild("c") == 1 || explorer.FindChild("xi:include") == 1) {
      seen += explorer.GetText() + explorer.GetAttribute("a");
    }
    EXPECT_EQ(seen.find(secret), std::string::npos);
  }
}

}  // namespace
