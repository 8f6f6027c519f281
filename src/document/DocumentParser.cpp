#include <memory>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xsd/cxx/tree/error-handler.hxx>
#include <xsd/cxx/xml/dom/bits/error-handler-proxy.hxx>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/PolicyDocument.h>
#include "document/ParserConfiguration.h"
#include "document/RefusingResourceResolver.h"
#include "document/SchemaGrammarCache.h"
#include "document/StreamedElements.h"
#include "document/ValidatingRead.h"

namespace fwcommon {
namespace {

using ErrorHandler = xsd::cxx::tree::error_handler<wchar_t>;
using ErrorProxy = xsd::cxx::xml::dom::bits::error_handler_proxy<wchar_t>;

struct ParserDeleter {
    void operator()(xercesc::DOMLSParser* p) const { p->release(); }
};

// The DOM of the document's frame: the rules and named objects are taken
// out by streamed as the parser finishes each.
xml_schema::dom::unique_ptr<xercesc::DOMDocument> ParseDom(const std::vector<unsigned char>& bytes,
                                                           xercesc::XMLGrammarPool& pool,
                                                           ErrorProxy& proxy,
                                                           document::StreamedElements& streamed) {
    static const XMLCh ls[] = {xercesc::chLatin_L, xercesc::chLatin_S, xercesc::chNull};
    xercesc::DOMImplementation* impl = xercesc::DOMImplementationRegistry::getDOMImplementation(ls);
    std::unique_ptr<xercesc::DOMLSParser, ParserDeleter> parser(
        impl->createLSParser(xercesc::DOMImplementationLS::MODE_SYNCHRONOUS, nullptr,
                             xercesc::XMLPlatformUtils::fgMemoryManager, &pool));

    document::RefusingResourceResolver resolver;
    document::ConfigureHardenedParser(*parser, resolver);
    parser->getDomConfig()->setParameter(xercesc::XMLUni::fgDOMErrorHandler, &proxy);
    parser->setFilter(&streamed);

    xsd::cxx::xml::string location(std::wstring(kDocumentNamespace) + L" " +
                                   document::SchemaLocationFor(std::wstring()));
    parser->getDomConfig()->setParameter(xercesc::XMLUni::fgXercesSchemaExternalSchemaLocation,
                                         location.c_str());

    xercesc::MemBufInputSource source(bytes.data(), bytes.size(), "policy", false);
    source.setCopyBufToStream(false);  // the parser reads the caller's bytes, no copy of them
    xercesc::Wrapper4InputSource input(&source, false);
    xml_schema::dom::unique_ptr<xercesc::DOMDocument> doc(parser->parse(&input));
    if (proxy.failed()) {
        doc.reset();
    }
    return doc;
}

}  // namespace

std::unique_ptr<Sarvo::PolicyType> ParsePolicyDocument(const std::vector<unsigned char>& bytes,
                                                       const std::wstring& schemaPath) {
    xercesc::XMLGrammarPool& pool = document::PrepareValidatingRead(bytes, schemaPath);

    ErrorHandler errors;
    ErrorProxy proxy(errors);
    document::StreamedElements streamed([&proxy] { return proxy.failed(); });
    xml_schema::dom::unique_ptr<xercesc::DOMDocument> doc;
    document::RecordingXercesExceptions(errors,
                                        [&] { doc = ParseDom(bytes, pool, proxy, streamed); });
    errors.throw_if_failed<xml_schema::parsing>();
    if (!doc) {
        throw xml_schema::parsing();
    }
    streamed.ThrowIfFailed();
    auto policy = Sarvo::Policy(std::move(doc), xml_schema::flags::dont_initialize);
    streamed.MoveInto(*policy);
    return policy;
}

}  // namespace fwcommon
