#pragma once

// Parsing a document from bytes already read, so that libxml2 never opens a
// file itself (no transparent decompression, no second look at the path).

#include <string_view>

#include "xml/LibxmlOwnership.h"
#include "xml/WideString.h"

// The document, or null unless the bytes are well-formed XML that converted
// from their declared encoding without error and whose attribute values stay
// within the expansion limit. `baseUrl` becomes the
// document's URL. No network, no DTD loading, no entity substitution, and
// nothing is reported anywhere.
XmlDocumentPtr ParseWellFormedDocument(std::string_view bytes, const WideString& baseUrl);
