#pragma once

// A cursor over one loaded XML document: it keeps one current element, moves
// down to a child found by tag name (and attribute value), sideways to the
// next sibling element and up to the parent element, and reads the current
// element's tag name, text and attributes. All strings are narrow strings.
// Moves return 1 or 0 and leave the current element as it was when they fail;
// readers return "" when there is nothing to read.

#include <memory>
#include <string>

#include "platform/Host.h"
#include "xml/LibxmlOwnership.h"
#include "xml/ValueAccessers.h"

class DOMExplorer {
 public:
  // `host` reads the files given to Load; it must outlive the navigator.
  explicit DOMExplorer(platform::Host& host);
  virtual ~DOMExplorer();
  DOMExplorer(const DOMExplorer&) = delete;
  DOMExplorer& operator=(const DOMExplorer&) = delete;

  // Discards the document and the current element and starts a new document.
  void CreateDocument();
  // Reads and parses the file; 1 with the root element current when it is
  // well-formed XML, otherwise 0 with an empty document and no current element.
  int Load(std::string path);
  int MoveToRoot();
  // Searches the current element's children (the document's top level when
  // there is no current element) for the first element named `tag`.
  int FindChild(std::string tag);
  // As FindChild, for the first such element whose attribute `attribute` is
  // present and equals `value`.
  int FindChildByAttribute(std::string tag, std::string attribute, std::string value);
  // The next sibling that is an element, whatever its name.
  int NextSibling();
  // The parent element; never the document node.
  int MoveToParent();

  std::string GetNodeName();
  // The first text child, with each line feed turned into CR LF.
  std::string GetText();
  // The attribute's value; "" also when it is absent.
  std::string GetAttribute(std::string name);

 private:
  // The first node that a child search walks.
  xmlNode* FirstNodeInScope() const;

  platform::Host& host_;
  std::unique_ptr<COleDateTimeAccesser> dateTimeAccesser_;
  std::unique_ptr<BOOLAccesser> boolAccesser_;
  std::unique_ptr<IntAccesser> intAccesser_;
  std::unique_ptr<CStringAccesser> stringAccesser_;
  XmlDocumentPtr document_;
  xmlNode* current_ = nullptr;  // an element of document_, or none
};
