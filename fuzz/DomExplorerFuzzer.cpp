// Fuzz target: the XML navigator over arbitrary bytes. The input is the file
// that DOMExplorer::Load reads; the target then walks the document with every
// move and reader and checks the navigator's own promises: a move that fails
// leaves the current element as it was, a child found by tag has that tag,
// the parent of a child is the element it was found from, and a failed load
// leaves a navigator on which every operation is safe and empty.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fuzz/support/Finding.h"
#include "fuzz/support/ScratchFolder.h"
#include "platform/LinuxHost.h"
#include "xml/DOMExplorer.h"

namespace {

namespace fs = std::filesystem;
using fuzz_support::Finding;

const char* const kAttributes[] = {"name", "src", "version", "profile", "software", "min", "max", ""};
constexpr std::size_t kMaxTags = 24;
constexpr int kMaxDepth = 12;

// Tag names to search for: what follows a "<" in the bytes, and the names
// the tool itself looks for.
std::vector<std::string> CandidateTags(const std::string& bytes) {
  std::set<std::string> tags = {"profile", "model", "supportversion", "ProfileVersion"};
  for (std::size_t at = bytes.find('<'); at != std::string::npos && tags.size() < kMaxTags;
       at = bytes.find('<', at + 1)) {
    const std::size_t end = bytes.find_first_of(" \t\r\n/>=<\"'", at + 1);
    const std::string tag = bytes.substr(at + 1, (end == std::string::npos ? bytes.size() : end) - at - 1);
    if (!tag.empty() && tag.size() < 64) tags.insert(tag);
  }
  return {tags.begin(), tags.end()};
}

class Walk {
 public:
  Walk(DOMExplorer& explorer, std::vector<std::string> tags) : explorer_(explorer), tags_(std::move(tags)) {}

  // Visits the current element and below; the current element is the same
  // one again afterwards.
  void Visit(int depth) {
    const std::string name = explorer_.GetNodeName();
    ReadAll();
    if (depth >= kMaxDepth || budget_ <= 0) return;
    for (const std::string& tag : tags_) {
      if (--budget_ <= 0) return;
      if (!explorer_.FindChild(tag)) {
        Expect(explorer_.GetNodeName() == name, "a failed FindChild moved the cursor");
        continue;
      }
      Expect(explorer_.GetNodeName() == tag, "FindChild(" + tag + ") found " + explorer_.GetNodeName());
      const std::string key = explorer_.GetAttribute("name");
      Visit(depth + 1);
      bool atLast = false;
      while (budget_-- > 0 && !atLast) {
        const std::string before = explorer_.GetNodeName();
        atLast = explorer_.NextSibling() == 0;
        if (atLast) Expect(explorer_.GetNodeName() == before, "a failed NextSibling moved the cursor");
        if (!atLast) ReadAll();
      }
      Expect(explorer_.MoveToParent() == 1, "MoveToParent failed below " + name);
      Expect(explorer_.GetNodeName() == name, "MoveToParent did not come back to " + name);
      if (!key.empty()) {
        Expect(explorer_.FindChildByAttribute(tag, "name", key) == 1, "FindChildByAttribute missed " + key);
        Expect(explorer_.GetNodeName() == tag && explorer_.GetAttribute("name") == key,
               "FindChildByAttribute found the wrong element");
        Expect(explorer_.MoveToParent() == 1 && explorer_.GetNodeName() == name,
               "MoveToParent after FindChildByAttribute");
      }
      if (!explorer_.FindChildByAttribute(tag, "name", "\x01no such value")) {
        Expect(explorer_.GetNodeName() == name, "a failed FindChildByAttribute moved the cursor");
      }
    }
  }

 private:
  void ReadAll() {
    explorer_.GetText();
    for (const char* attribute : kAttributes) explorer_.GetAttribute(attribute);
  }
  static void Expect(bool holds, const std::string& what) {
    if (!holds) Finding(what);
  }

  DOMExplorer& explorer_;
  std::vector<std::string> tags_;
  int budget_ = 4000;
};

void CheckEmpty(DOMExplorer& explorer) {
  const bool empty = explorer.MoveToRoot() == 0 && explorer.FindChild("profile") == 0 &&
                     explorer.FindChildByAttribute("model", "name", "") == 0 && explorer.NextSibling() == 0 &&
                     explorer.MoveToParent() == 0 && explorer.GetNodeName().empty() && explorer.GetText().empty() &&
                     explorer.GetAttribute("name").empty();
  if (!empty) Finding("a navigator after a failed load is not empty");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path root = fuzz_support::Scratch().path();
  fuzz_support::Scratch().Empty();
  const fs::path file = root / "document.xml";
  fuzz_support::WriteBytes(file, data, size);
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  platform::LinuxHost host(root.string(), 0);
  DOMExplorer explorer(host);
  if (!explorer.Load(file.string())) {
    CheckEmpty(explorer);
    return 0;
  }
  const std::string rootName = explorer.GetNodeName();
  if (explorer.MoveToParent() != 0 || explorer.GetNodeName() != rootName) Finding("the root has a parent");
  Walk(explorer, CandidateTags(bytes)).Visit(0);
  if (explorer.GetNodeName() != rootName) Finding("the walk did not end at the root");

  // A second load of the same file starts afresh at the same root.
  if (explorer.Load(file.string()) != 1 || explorer.GetNodeName() != rootName) Finding("a second load differs");
  return 0;
}
