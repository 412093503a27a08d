#pragma once

// Owning handles for the libxml2 objects the navigator holds, so that every
// path out of a function releases them.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

struct XmlDocumentDeleter {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using XmlDocumentPtr = std::unique_ptr<xmlDoc, XmlDocumentDeleter>;

struct XmlParserContextDeleter {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};
using XmlParserContextPtr = std::unique_ptr<xmlParserCtxt, XmlParserContextDeleter>;

// A string that libxml2 allocated and hands over to its caller.
struct XmlCharsDeleter {
  void operator()(xmlChar* chars) const { xmlFree(chars); }
};
using XmlCharsPtr = std::unique_ptr<xmlChar, XmlCharsDeleter>;
