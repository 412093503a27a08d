#include "xml/ElementNames.h"

#include <string_view>

#include "xml/EntityExpansion.h"

namespace {

std::string_view View(const xmlChar* chars) {
  return chars == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(chars));
}

std::string PrefixedName(const xmlNs* ns, const xmlChar* localName) {
  std::string name;
  if (ns != nullptr && ns->prefix != nullptr) {
    name = View(ns->prefix);
    name += ':';
  }
  name += View(localName);
  return name;
}

}  // namespace

std::string QualifiedName(const xmlNode& element) { return PrefixedName(element.ns, element.name); }

std::optional<std::string> AttributeValue(const xmlNode& element, const WideString& name) {
  // The comparison covers the whole wide name, so a name with an embedded NUL
  // matches nothing instead of matching its first part.
  const std::string_view wanted = name.view();
  for (const xmlAttr* attribute = element.properties; attribute != nullptr; attribute = attribute->next) {
    if (PrefixedName(attribute->ns, attribute->name) == wanted) return ExpandedText(*element.doc, attribute->children);
  }
  for (const xmlNs* declaration = element.nsDef; declaration != nullptr; declaration = declaration->next) {
    const std::string declared = declaration->prefix == nullptr ? "xmlns" : "xmlns:" + std::string(View(declaration->prefix));
    if (declared == wanted) return std::string(View(declaration->href));
  }
  return std::nullopt;
}
