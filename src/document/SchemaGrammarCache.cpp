#include "document/SchemaGrammarCache.h"

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/URLInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/validators/schema/ComplexTypeInfo.hpp>
#include <xercesc/validators/schema/SchemaGrammar.hpp>
#include <xsd/cxx/tree/error-handler.hxx>
#include <xsd/cxx/xml/dom/bits/error-handler-proxy.hxx>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/rules.hxx>
#include "document/ParserConfiguration.h"
#include "document/RefusingResourceResolver.h"
#include "document/XercesFailure.h"
#include "document/XmlPlatform.h"

namespace fwcommon::detail {
extern const unsigned char kEmbeddedRulesSchema[];
extern const std::size_t kEmbeddedRulesSchemaSize;
}  // namespace fwcommon::detail

namespace fwcommon::document {
namespace {

using xercesc::XMLGrammarPool;

std::unique_ptr<xercesc::InputSource> SchemaInputFor(const std::wstring& schemaPath) {
    if (schemaPath.empty()) {
        return std::make_unique<xercesc::MemBufInputSource>(
            detail::kEmbeddedRulesSchema, detail::kEmbeddedRulesSchemaSize, "rules.xsd", false);
    }
    xsd::cxx::xml::string location(SchemaLocationFor(schemaPath));
    return std::make_unique<xercesc::URLInputSource>(location.c_str());
}

// Xerces builds a type's content model, the text that error messages show
// of it, and the list of its attributes on first use and without a lock. A pool shared by parsers
// on several threads must have them all built before it is handed out, or two parses race to build
// the same one.
void BuildOnFirstUseParts(xercesc::ComplexTypeInfo& type) {
    type.getContentModel();
    type.getFormattedContentModel();
    type.getAttDefList();
}

void BuildOnFirstUseParts(xercesc::SchemaGrammar& grammar) {
    if (auto* types = grammar.getComplexTypeRegistry()) {
        xercesc::RefHashTableOfEnumerator<xercesc::ComplexTypeInfo> each(types);
        while (each.hasMoreElements()) {
            BuildOnFirstUseParts(each.nextElement());
        }
    }
    auto elements = grammar.getElemEnumerator();
    while (elements.hasMoreElements()) {
        if (auto* type = elements.nextElement().getComplexTypeInfo()) {
            BuildOnFirstUseParts(*type);
        }
    }
}

void BuildOnFirstUseParts(XMLGrammarPool& pool) {
    auto grammars = pool.getGrammarEnumerator();
    while (grammars.hasMoreElements()) {
        xercesc::Grammar& grammar = grammars.nextElement();
        if (grammar.getGrammarType() == xercesc::Grammar::SchemaGrammarType) {
            BuildOnFirstUseParts(static_cast<xercesc::SchemaGrammar&>(grammar));
        }
    }
}

// Reads the grammar into a new pool and locks the pool. Every failure,
// including one that Xerces reports by exception, becomes xml_schema::parsing.
std::unique_ptr<XMLGrammarPool> LoadGrammar(const std::wstring& schemaPath) {
    auto pool =
        std::make_unique<xercesc::XMLGrammarPoolImpl>(xercesc::XMLPlatformUtils::fgMemoryManager);

    static const XMLCh ls[] = {xercesc::chLatin_L, xercesc::chLatin_S, xercesc::chNull};
    xercesc::DOMImplementation* impl = xercesc::DOMImplementationRegistry::getDOMImplementation(ls);
    std::unique_ptr<xercesc::DOMLSParser, void (*)(xercesc::DOMLSParser*)> parser(
        impl->createLSParser(xercesc::DOMImplementationLS::MODE_SYNCHRONOUS, nullptr,
                             xercesc::XMLPlatformUtils::fgMemoryManager, pool.get()),
        [](xercesc::DOMLSParser* p) { p->release(); });

    RefusingResourceResolver resolver;
    ConfigureHardenedParser(*parser, resolver);
    xsd::cxx::tree::error_handler<wchar_t> errors;
    xsd::cxx::xml::dom::bits::error_handler_proxy<wchar_t> proxy(errors);
    parser->getDomConfig()->setParameter(xercesc::XMLUni::fgDOMErrorHandler, &proxy);

    std::unique_ptr<xercesc::InputSource> source;
    xercesc::Grammar* grammar = nullptr;
    try {
        source = SchemaInputFor(schemaPath);
        xercesc::Wrapper4InputSource input(source.release(), true);
        grammar = parser->loadGrammar(&input, xercesc::Grammar::SchemaGrammarType, true);
    } catch (const xercesc::XMLException& e) {
        RecordXercesFailure(errors, schemaPath.empty() ? L"rules.xsd" : schemaPath, e);
    }
    errors.throw_if_failed<xml_schema::parsing>();
    if (grammar == nullptr) {
        throw xml_schema::parsing();
    }
    pool->lockPool();
    BuildOnFirstUseParts(*pool);
    return pool;
}

}  // namespace

std::wstring SchemaLocationFor(const std::wstring& schemaPath) {
    if (schemaPath.empty()) {
        return L"rules.xsd";
    }
    std::wstring location = L"file:///";
    for (wchar_t c : schemaPath) {
        if (c == L' ') {
            location += L"%20";
        } else {
            location += c;
        }
    }
    return location;
}

XMLGrammarPool& GrammarPoolFor(const std::wstring& schemaPath) {
    EnsureXmlPlatform();
    static std::mutex mutex;
    static auto* pools = new std::map<std::wstring, std::unique_ptr<XMLGrammarPool>>();

    std::lock_guard<std::mutex> lock(mutex);
    auto found = pools->find(schemaPath);
    if (found != pools->end()) {
        return *found->second;
    }
    auto pool = LoadGrammar(schemaPath);
    return *pools->emplace(schemaPath, std::move(pool)).first->second;
}

}  // namespace fwcommon::document
