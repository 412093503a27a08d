#include "xml/DocumentParser.h"

#include <libxml/xmlerror.h>

#include <climits>
#include <new>

#include "xml/EntityExpansion.h"

namespace {

#if LIBXML_VERSION >= 21200
using ErrorReport = const xmlError*;
#else
using ErrorReport = xmlErrorPtr;
#endif

constexpr int kParserOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

void DropReport(void*, ErrorReport) {}
void DropMessage(void*, const char*, ...) {}

// What the libxml2 reports without a parser context said about one parse.
struct ContextFreeReports {
  bool conversionFailed = false;
};

// Encoding and input errors: the parser sees the input end where the
// conversion stopped, so a well-formed prefix would otherwise pass.
void RecordContextFreeReport(void* reports, ErrorReport report) {
  if (report->level >= XML_ERR_ERROR && (report->domain == XML_FROM_I18N || report->domain == XML_FROM_IO)) {
    static_cast<ContextFreeReports*>(reports)->conversionFailed = true;
  }
}

// libxml2 reports encoding and input errors without a parser context, so the
// context's own handler never sees them and they would reach stderr. For the
// length of one parse this routes the thread's handlers to `reports`, and
// restores the previous ones afterwards.
class ContextFreeReportsRedirect {
 public:
  explicit ContextFreeReportsRedirect(ContextFreeReports& reports)
      : generic_(xmlGenericError),
        genericContext_(xmlGenericErrorContext),
        structured_(xmlStructuredError),
        structuredContext_(xmlStructuredErrorContext) {
    xmlSetGenericErrorFunc(nullptr, DropMessage);
    xmlSetStructuredErrorFunc(&reports, RecordContextFreeReport);
  }
  ~ContextFreeReportsRedirect() {
    xmlSetGenericErrorFunc(genericContext_, generic_);
    xmlSetStructuredErrorFunc(structuredContext_, structured_);
  }
  ContextFreeReportsRedirect(const ContextFreeReportsRedirect&) = delete;
  ContextFreeReportsRedirect& operator=(const ContextFreeReportsRedirect&) = delete;

 private:
  xmlGenericErrorFunc generic_;
  void* genericContext_;
  xmlStructuredErrorFunc structured_;
  void* structuredContext_;
};

}  // namespace

XmlDocumentPtr ParseWellFormedDocument(std::string_view bytes, const WideString& baseUrl) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  XmlParserContextPtr context(xmlNewParserCtxt());
  if (!context) throw std::bad_alloc();
  // Everything the parser reports about the document goes to this context's
  // handler, which drops it.
  context->sax->serror = DropReport;
  context->sax->initialized = XML_SAX2_MAGIC;

  ContextFreeReports reports;
  XmlDocumentPtr document;
  {
    ContextFreeReportsRedirect redirect(reports);
    document.reset(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                     reinterpret_cast<const char*>(baseUrl.get()), nullptr, kParserOptions));
  }
  if (!document || !context->wellFormed || reports.conversionFailed) return nullptr;
  if (!AttributeValuesWithinLimit(*document)) return nullptr;
  return document;
}
