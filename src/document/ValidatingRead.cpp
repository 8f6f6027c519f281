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

void ConfigureValidatingReader(xercesc::SAX2XMLReader& reader, const XMLCh* schemaLocation) {
    reader.setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
    reader.setFeature(XMLUni::fgSAX2CoreNameSpacePrefixes, false);
    reader.setFeature(XMLUni::fgSAX2CoreValidation, true);
    reader.setFeature(XMLUni::fgXercesDynamic, false);
    reader.setFeature(XMLUni::fgXercesSchema, true);
    reader.setFeature(XMLUni::fgXercesSchemaFullChecking, false);
    reader.setFeature(XMLUni::fgXercesLoadExternalDTD, false);
    reader.setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    reader.setFeature(XMLUni::fgXercesUseCachedGrammarInParse, true);
    reader.setFeature(XMLUni::fgXercesCacheGrammarFromParse, false);
    reader.setFeature(XMLUni::fgXercesLoadSchema, false);
    reader.setFeature(XMLUni::fgXercesHandleMultipleImports, false);
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
