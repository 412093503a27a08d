#pragma once

// Names of elements and attributes as the document writes them. libxml2
// keeps a namespace prefix apart from the local name; these helpers put it
// back, so that "p:model" is compared and reported as "p:model".

#include <optional>
#include <string>

#include "xml/LibxmlOwnership.h"
#include "xml/WideString.h"

// The element's tag name with its prefix, in UTF-8.
std::string QualifiedName(const xmlNode& element);

// The value (UTF-8, entity references expanded) of the element's attribute
// whose name as written equals `name`, or nothing when there is none; a
// present attribute with an empty value gives "". Namespace declarations such
// as "xmlns:p" count as attributes. Only the attributes in the element's start
// tag count: defaults declared in a DTD are not applied.
std::optional<std::string> AttributeValue(const xmlNode& element, const WideString& name);
