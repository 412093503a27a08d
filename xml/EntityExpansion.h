#pragma once

// Attribute values keep their references to internal entities as nodes, and
// reading a value expands them. A small document can name an expansion of
// gigabytes that way, so a document is accepted only when every attribute
// value stays within a limit once expanded; the lengths are worked out per
// entity without building any text.

#include <cstddef>
#include <string>

#include <libxml/parserInternals.h>

#include "xml/LibxmlOwnership.h"

// The same limit that the parser applies to a single text without its huge
// mode.
inline constexpr std::size_t kMaxExpandedValueBytes = XML_MAX_TEXT_LENGTH;

// True when every attribute value of the document expands to at most
// kMaxExpandedValueBytes bytes.
bool AttributeValuesWithinLimit(const xmlDoc& document);

// The text of an attribute's node list with entity references expanded.
std::string ExpandedText(const xmlDoc& document, const xmlNode* list);
