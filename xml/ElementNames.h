#pragma once

// Names of elements and attributes as the document writes them. libxml2
// keeps a namespace prefix apart from the local name; these helpers put it
// back, so that "p:model" is compared and reported as "p:model".

#include <string>

#include "xml/LibxmlOwnership.h"
#include "xml/WideString.h"

// The element's tag name with its prefix, in UTF-8.
std::string QualifiedName(const xmlNode& element);

// The value of the element's attribute whose name as written equals `name`
// (namespace declarations such as "xmlns:p" count as attributes), or null
// when there is none. A present attribute with an empty value gives "".
// Only the attributes in the element's start tag count.
XmlCharsPtr AttributeValue(const xmlNode& element, const WideString& name);
