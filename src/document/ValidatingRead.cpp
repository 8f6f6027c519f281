#include "document/ValidatingRead.h"

#include <memory>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/DocumentNamespace.h>

#include "document/BytePreChecks.h"
#include "document/SchemaGrammarCache.h"
#include "document/XmlPlatform.h"

namespace fwcommon::document {
namespace {

using xercesc::XMLUni;

struct Feature {
    const XMLCh* name;
    bool on;
};

const Feature kValidatingReaderFeatures[] = {
    {XMLUni::fgSAX2CoreNameSpaces, true},
    {XMLUni::fgSAX2CoreNameSpacePrefixes, false},
    {XMLUni::fgSAX2CoreValidation, true},
    {XMLUni::fgXercesDynamic, false},
    {XMLUni::fgXercesSchema, true},
    {XMLUni::fgXercesSchemaFullChecking, false},
    {XMLUni::fgXercesLoadExternalDTD, false},
    {XMLUni::fgXercesDisableDefaultEntityResolution, true},
    {XMLUni::fgXercesUseCachedGrammarInParse, true},
    {XMLUni::fgXercesCacheGrammarFromParse, false},
    {XMLUni::fgXercesLoadSchema, false},
    {XMLUni::fgXercesHandleMultipleImports, false},
};

void ConfigureValidatingReader(xercesc::SAX2XMLReader& reader, const XMLCh* schemaLocation) {
    for (const Feature& feature : kValidatingReaderFeatures) {
        reader.setFeature(feature.name, feature.on);
    }
    reader.setProperty(XMLUni::fgXercesSchemaExternalSchemaLocation,
                       const_cast<XMLCh*>(schemaLocation));
}

struct ReaderDeleter {
    void operator()(xercesc::SAX2XMLReader* reader) const { delete reader; }
};

}  // namespace

xercesc::XMLGrammarPool& PrepareValidatingRead(const std::vector<unsigned char>& bytes,
                                               const std::wstring& schemaPath) {
    RefuseUnparsableBytes(bytes, kPolicyDocumentId);
    EnsureXmlPlatform();
    return GrammarPoolFor(schemaPath);
}

void ReadValidating(const std::vector<unsigned char>& bytes, xercesc::XMLGrammarPool& pool,
                    xercesc::ErrorHandler& errors, xercesc::ContentHandler& content) {
    std::unique_ptr<xercesc::SAX2XMLReader, ReaderDeleter> reader(
        xercesc::XMLReaderFactory::createXMLReader(xercesc::XMLPlatformUtils::fgMemoryManager,
                                                   &pool));
    const xsd::cxx::xml::string location(std::wstring(kDocumentNamespace) + L" " +
                                         SchemaLocationFor(std::wstring()));
    ConfigureValidatingReader(*reader, location.c_str());
    reader->setErrorHandler(&errors);
    reader->setContentHandler(&content);
    xercesc::MemBufInputSource source(bytes.data(), bytes.size(), "policy", false);
    source.setCopyBufToStream(false);  // the parser reads the caller's bytes, no copy of them
    reader->parse(source);
}

}  // namespace fwcommon::document
