#include "xml/EntityExpansion.h"

#include <libxml/entities.h>

#include <cstring>
#include <unordered_map>

namespace {

constexpr std::size_t kOverLimit = kMaxExpandedValueBytes + 1;
constexpr int kMaxNesting = 64;  // deeper entity nesting counts as over the limit

std::size_t Add(std::size_t a, std::size_t b) { return a + b > kMaxExpandedValueBytes ? kOverLimit : a + b; }

std::size_t Length(const xmlChar* text) { return text == nullptr ? 0 : std::strlen(reinterpret_cast<const char*>(text)); }

class LengthCounter {
 public:
  explicit LengthCounter(const xmlDoc& document) : document_(document) {}

  std::size_t ListLength(const xmlNode* list, int nesting) {
    if (nesting > kMaxNesting) return kOverLimit;
    std::size_t total = 0;
    for (const xmlNode* node = list; node != nullptr && total <= kMaxExpandedValueBytes; node = node->next) {
      if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        total = Add(total, Length(node->content));
      } else if (node->type == XML_ENTITY_REF_NODE) {
        total = Add(total, EntityLength(node->name, nesting));
      }
    }
    return total;
  }

 private:
  std::size_t EntityLength(const xmlChar* name, int nesting) {
    const xmlEntity* entity = xmlGetDocEntity(&document_, name);
    if (entity == nullptr) return 0;
    if (entity->etype == XML_INTERNAL_PREDEFINED_ENTITY) return Length(entity->content);
    if (entity->etype != XML_INTERNAL_GENERAL_ENTITY) return 0;
    const auto known = lengths_.find(entity);
    if (known != lengths_.end()) return known->second;
    lengths_[entity] = kOverLimit;  // a reference back to itself ends here
    const std::size_t length = ListLength(entity->children, nesting + 1);
    lengths_[entity] = length;
    return length;
  }

  const xmlDoc& document_;
  std::unordered_map<const xmlEntity*, std::size_t> lengths_;
};

void AppendList(const xmlDoc& document, const xmlNode* list, int nesting, std::string& text) {
  if (nesting > kMaxNesting) return;
  for (const xmlNode* node = list; node != nullptr && text.size() <= kMaxExpandedValueBytes; node = node->next) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      if (node->content != nullptr) text += reinterpret_cast<const char*>(node->content);
    } else if (node->type == XML_ENTITY_REF_NODE) {
      const xmlEntity* entity = xmlGetDocEntity(&document, node->name);
      if (entity == nullptr) continue;
      if (entity->etype == XML_INTERNAL_PREDEFINED_ENTITY) {
        if (entity->content != nullptr) text += reinterpret_cast<const char*>(entity->content);
      } else if (entity->etype == XML_INTERNAL_GENERAL_ENTITY) {
        AppendList(document, entity->children, nesting + 1, text);
      }
    }
  }
}

}  // namespace

bool AttributeValuesWithinLimit(const xmlDoc& document) {
  LengthCounter counter(document);
  // Walks every element of the tree without recursion.
  const xmlNode* node = xmlDocGetRootElement(&document);
  while (node != nullptr) {
    if (node->type == XML_ELEMENT_NODE) {
      for (const xmlAttr* attribute = node->properties; attribute != nullptr; attribute = attribute->next) {
        if (counter.ListLength(attribute->children, 0) > kMaxExpandedValueBytes) return false;
      }
      if (node->children != nullptr) {
        node = node->children;
        continue;
      }
    }
    while (node != nullptr && node->next == nullptr) {
      node = node->parent;
      if (node != nullptr && node->type != XML_ELEMENT_NODE) node = nullptr;  // back at the document
    }
    if (node != nullptr) node = node->next;
  }
  return true;
}

std::string ExpandedText(const xmlDoc& document, const xmlNode* list) {
  std::string text;
  AppendList(document, list, 0, text);
  return text;
}
