#include "xml/DOMExplorer.h"

#include <cstddef>
#include <optional>
#include <string_view>

#include "xml/DocumentParser.h"
#include "xml/ElementNames.h"
#include "xml/TextConversion.h"

namespace {

const xmlChar kXmlVersion[] = "1.0";
const xmlChar kDeclarationTarget[] = "xml";
const xmlChar kDeclarationData[] = "version=\"1.0\" encoding=\"Unicode\"";

// The largest document read: 16 MiB, far above any package description or
// installed montype.xml. The file is held in memory whole, so without a bound
// a huge (or sparse, nearly free on disk) file would take the memory.
constexpr std::size_t kMaxDocumentBytes = std::size_t{16} << 20;

// The whole content of the file, read through the host. False when the file
// cannot be opened or read, or is larger than kMaxDocumentBytes.
bool ReadWholeFile(platform::Host& host, const std::string& path, std::string& bytes) {
  // The system takes a path up to a NUL; a longer string names another file.
  if (path.find('\0') != std::string::npos) return false;
  std::unique_ptr<platform::InputFile> file = host.OpenForReading(path);
  if (!file) return false;
  char buffer[65536];
  for (;;) {
    const std::ptrdiff_t count = file->Read(buffer, sizeof buffer);
    if (count < 0) return false;
    if (count == 0) return true;
    if (bytes.size() + static_cast<std::size_t>(count) > kMaxDocumentBytes) return false;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

const xmlChar* AsXmlChars(const std::string& utf8) { return reinterpret_cast<const xmlChar*>(utf8.c_str()); }

bool IsElement(const xmlNode* node) { return node->type == XML_ELEMENT_NODE; }

bool HasName(const xmlNode& element, const std::string& tag) {
  return WideToNarrow(AsXmlChars(QualifiedName(element))) == tag;
}

}  // namespace

DOMExplorer::DOMExplorer(platform::Host& host) : host_(host) {
  // Library-wide and idempotent; it is never undone per navigator, so a later
  // navigator finds the library ready again.
  xmlInitParser();
  intAccesser_ = std::make_unique<IntAccesser>(this);
  boolAccesser_ = std::make_unique<BOOLAccesser>(this);
  dateTimeAccesser_ = std::make_unique<COleDateTimeAccesser>(this);
  stringAccesser_ = std::make_unique<CStringAccesser>(this);
}

DOMExplorer::~DOMExplorer() {
  current_ = nullptr;
  document_.reset();
  intAccesser_.reset();
  boolAccesser_.reset();
  dateTimeAccesser_.reset();
  stringAccesser_.reset();
}

void DOMExplorer::CreateDocument() {
  current_ = nullptr;
  document_.reset();
  document_.reset(xmlNewDoc(kXmlVersion));
  if (!document_) return;
  xmlNode* declaration = xmlNewDocPI(document_.get(), kDeclarationTarget, kDeclarationData);
  if (declaration != nullptr && xmlAddChild(reinterpret_cast<xmlNode*>(document_.get()), declaration) == nullptr) {
    xmlFreeNode(declaration);
  }
}

int DOMExplorer::Load(std::string path) {
  CreateDocument();
  std::string bytes;
  XmlDocumentPtr loaded;
  if (ReadWholeFile(host_, path, bytes)) loaded = ParseWellFormedDocument(bytes, NarrowToWide(path));
  if (!loaded) {
    // A failed load leaves a document without nodes.
    document_.reset(xmlNewDoc(kXmlVersion));
    return 0;
  }
  document_ = std::move(loaded);
  MoveToRoot();
  return 1;
}

int DOMExplorer::MoveToRoot() {
  current_ = document_ ? xmlDocGetRootElement(document_.get()) : nullptr;
  return current_ != nullptr ? 1 : 0;
}

xmlNode* DOMExplorer::FirstNodeInScope() const {
  if (current_ != nullptr) return current_->children;
  return document_ ? document_->children : nullptr;
}

int DOMExplorer::FindChild(std::string tag) {
  for (xmlNode* node = FirstNodeInScope(); node != nullptr; node = node->next) {
    if (IsElement(node) && HasName(*node, tag)) {
      current_ = node;
      return 1;
    }
  }
  return 0;
}

int DOMExplorer::FindChildByAttribute(std::string tag, std::string attribute, std::string value) {
  const WideString attributeName = NarrowToWide(attribute);
  for (xmlNode* node = FirstNodeInScope(); node != nullptr; node = node->next) {
    if (!IsElement(node) || !HasName(*node, tag)) continue;
    const std::optional<std::string> found = AttributeValue(*node, attributeName);
    if (found && WideToNarrow(AsXmlChars(*found)) == value) {
      current_ = node;
      return 1;
    }
  }
  return 0;
}

int DOMExplorer::NextSibling() {
  if (current_ == nullptr) return 0;
  for (xmlNode* node = current_->next; node != nullptr; node = node->next) {
    if (IsElement(node)) {
      current_ = node;
      return 1;
    }
  }
  return 0;
}

int DOMExplorer::MoveToParent() {
  if (current_ == nullptr) return 0;
  // The root's parent is the document node, which never becomes current.
  xmlNode* parent = current_->parent;
  if (parent == nullptr || !IsElement(parent)) return 0;
  current_ = parent;
  return 1;
}

std::string DOMExplorer::GetNodeName() {
  if (current_ == nullptr) return {};
  return WideToNarrow(AsXmlChars(QualifiedName(*current_)));
}

std::string DOMExplorer::GetText() {
  if (current_ == nullptr) return {};
  // Only a plain text node counts: CDATA sections and entity references are
  // other kinds of node.
  for (const xmlNode* node = current_->children; node != nullptr; node = node->next) {
    if (node->type != XML_TEXT_NODE) continue;
    std::string text = WideToNarrow(node->content);
    ReplaceAll(text, "\n", "\r\n");
    return text;
  }
  return {};
}

std::string DOMExplorer::GetAttribute(std::string name) {
  if (current_ == nullptr) return {};
  const std::optional<std::string> value = AttributeValue(*current_, NarrowToWide(name));
  return value ? WideToNarrow(AsXmlChars(*value)) : std::string();
}
