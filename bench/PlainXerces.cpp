#include "PlainXerces.h"

#include <stdexcept>
#include <string>

#include <xercesc/dom/DOMConfiguration.hpp>
#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMErrorHandler.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSOutput.hpp>
#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/dom/DOMLSSerializer.hpp>
#include <xercesc/dom/DOMLocator.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "BenchPolicies.h"

namespace fwbench {
namespace {

using xercesc::XMLUni;

const XMLCh kLs[] = {xercesc::chLatin_L, xercesc::chLatin_S, xercesc::chNull};

std::string Narrow(const XMLCh* text) {
    char* narrow = xercesc::XMLString::transcode(text);
    std::string result(narrow);
    xercesc::XMLString::release(&narrow);
    return result;
}

// Turns the first error or fatal error into an exception after the parse.
class FailingErrorHandler final : public xercesc::DOMErrorHandler {
public:
    bool handleError(const xercesc::DOMError& error) override {
        if (error.getSeverity() != xercesc::DOMError::DOM_SEVERITY_WARNING && message_.empty()) {
            message_ = "line " + std::to_string(error.getLocation()->getLineNumber()) + ": " +
                       Narrow(error.getMessage());
        }
        return true;
    }
    void ThrowIfFailed() {
        if (!message_.empty()) {
            std::string message;
            message.swap(message_);
            throw std::runtime_error(message);
        }
    }

private:
    std::string message_;
};

FailingErrorHandler& ErrorHandler() {
    static FailingErrorHandler handler;
    return handler;
}

class ByteVectorTarget final : public xercesc::XMLFormatTarget {
public:
    explicit ByteVectorTarget(std::vector<unsigned char>& out) : out_(out) {}
    void writeChars(const XMLByte* const bytes, const XMLSize_t count,
                    xercesc::XMLFormatter* const) override {
        out_.insert(out_.end(), bytes, bytes + count);
    }

private:
    std::vector<unsigned char>& out_;
};

// The settings the library gives its own validating parser.
void Configure(xercesc::DOMLSParser& parser) {
    xercesc::DOMConfiguration* conf = parser.getDomConfig();
    conf->setParameter(XMLUni::fgDOMComments, false);
    conf->setParameter(XMLUni::fgDOMDatatypeNormalization, true);
    conf->setParameter(XMLUni::fgDOMElementContentWhitespace, false);
    conf->setParameter(XMLUni::fgDOMNamespaces, true);
    conf->setParameter(XMLUni::fgDOMValidate, true);
    conf->setParameter(XMLUni::fgXercesSchema, true);
    conf->setParameter(XMLUni::fgXercesSchemaFullChecking, false);
    conf->setParameter(XMLUni::fgDOMDisallowDoctype, true);
    conf->setParameter(XMLUni::fgDOMEntities, false);
    conf->setParameter(XMLUni::fgXercesLoadExternalDTD, false);
    conf->setParameter(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    conf->setParameter(XMLUni::fgXercesUseCachedGrammarInParse, true);
    conf->setParameter(XMLUni::fgXercesCacheGrammarFromParse, false);
    conf->setParameter(XMLUni::fgXercesLoadSchema, false);
    conf->setParameter(XMLUni::fgXercesHandleMultipleImports, false);
    conf->setParameter(XMLUni::fgXercesUserAdoptsDOMDocument, true);
    conf->setParameter(XMLUni::fgDOMErrorHandler, &ErrorHandler());
}

}  // namespace

PlainXerces::PlainXerces() {
    xercesc::XMLPlatformUtils::Initialize();
    pool_ =
        std::make_unique<xercesc::XMLGrammarPoolImpl>(xercesc::XMLPlatformUtils::fgMemoryManager);
    xercesc::DOMImplementation* impl =
        xercesc::DOMImplementationRegistry::getDOMImplementation(kLs);
    xercesc::DOMLSParser* loader =
        impl->createLSParser(xercesc::DOMImplementationLS::MODE_SYNCHRONOUS, nullptr,
                             xercesc::XMLPlatformUtils::fgMemoryManager, pool_.get());
    Configure(*loader);

    const std::vector<unsigned char> schema = SchemaBytes();
    xercesc::MemBufInputSource source(schema.data(), schema.size(), "rules.xsd", false);
    xercesc::Wrapper4InputSource input(&source, false);
    const bool loaded =
        loader->loadGrammar(&input, xercesc::Grammar::SchemaGrammarType, true) != nullptr;
    loader->release();
    if (!loaded) {
        throw std::runtime_error("the rules schema could not be read");
    }
    ErrorHandler().ThrowIfFailed();
    pool_->lockPool();
}

PlainXerces::~PlainXerces() {
    pool_.reset();
    xercesc::XMLPlatformUtils::Terminate();
}

xercesc::DOMDocument* PlainXerces::Parse(const std::vector<unsigned char>& bytes) {
    // A parser per document, as the library makes one.
    xercesc::DOMImplementation* impl =
        xercesc::DOMImplementationRegistry::getDOMImplementation(kLs);
    std::unique_ptr<xercesc::DOMLSParser, void (*)(xercesc::DOMLSParser*)> parser(
        impl->createLSParser(xercesc::DOMImplementationLS::MODE_SYNCHRONOUS, nullptr,
                             xercesc::XMLPlatformUtils::fgMemoryManager, pool_.get()),
        [](xercesc::DOMLSParser* p) { p->release(); });
    Configure(*parser);
    static const XMLCh location[] = u"urn:fwcommon:policy:rules rules.xsd";
    parser->getDomConfig()->setParameter(XMLUni::fgXercesSchemaExternalSchemaLocation, location);

    xercesc::MemBufInputSource source(bytes.data(), bytes.size(), "policy", false);
    xercesc::Wrapper4InputSource input(&source, false);
    DomDocumentPtr document(parser->parse(&input));
    ErrorHandler().ThrowIfFailed();
    if (!document) {
        throw std::runtime_error("the parser returned no document");
    }
    return document.release();
}

void PlainXerces::Serialize(const xercesc::DOMDocument& document, std::vector<unsigned char>& out) {
    xercesc::DOMImplementation* impl =
        xercesc::DOMImplementationRegistry::getDOMImplementation(kLs);
    xercesc::DOMLSSerializer* writer = impl->createLSSerializer();
    xercesc::DOMLSOutput* output = impl->createLSOutput();
    xercesc::DOMConfiguration* conf = writer->getDomConfig();
    conf->setParameter(XMLUni::fgDOMWRTDiscardDefaultContent, true);
    conf->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
    conf->setParameter(XMLUni::fgDOMWRTXercesPrettyPrint, false);

    out.clear();
    ByteVectorTarget target(out);
    static const XMLCh utf8[] = u"UTF-8";
    output->setEncoding(utf8);
    output->setByteStream(&target);
    const bool written = writer->write(&document, output);
    output->release();
    writer->release();
    if (!written) {
        throw std::runtime_error("DOM serialisation failed");
    }
}

}  // namespace fwbench
