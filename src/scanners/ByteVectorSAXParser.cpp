#include "scanners/ByteVectorSAXParser.h"

#include <memory>
#include <string>
#include <utility>

#include <boost/locale/encoding_utf.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLPScanToken.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/SAXException.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <fwcommon/LogFacility.h>
#include "document/EncodingGuard.h"
#include "document/NulByteGuard.h"
#include "document/Utf8Guard.h"
#include "document/XmlPlatform.h"
#include "scanners/SAXHandler.h"

namespace fwcommon {
namespace {

using boost::locale::conv::utf_to_utf;
using xercesc::XMLUni;

void Log(const std::wstring& prefix, const XMLCh* message) {
    GetLibLogFacility().Log(prefix + utf_to_utf<wchar_t>(message), kLogRoutine);
}

// Xerces' SAX2 reader has no switch that refuses a document type
// declaration, as its DOM parser has; this one refuses every declaration,
// bare or with subsets and in any encoding, before its subsets are read.
class DoctypeRefusingReader final : public xercesc::SAX2XMLReaderImpl {
public:
    explicit DoctypeRefusingReader(ByteVectorSAXParser::SAXHandler& handler) : handler_(handler) {}

    void doctypeDecl(const xercesc::DTDElementDecl&, const XMLCh* const publicId,
                     const XMLCh* const systemId, const bool, const bool) override {
        handler_.RefuseDoctype(publicId, systemId);
    }

private:
    ByteVectorSAXParser::SAXHandler& handler_;
};

// No validation, no DTD, no entity or schema fetched: a DOCTYPE is refused,
// the handler refuses every entity, and default resolution is off.
std::unique_ptr<xercesc::SAX2XMLReader> MakeReader(ByteVectorSAXParser::SAXHandler& handler) {
    auto reader = std::make_unique<DoctypeRefusingReader>(handler);
    reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
    reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
    reader->setFeature(XMLUni::fgXercesSchema, false);
    reader->setFeature(XMLUni::fgXercesLoadSchema, false);
    reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
    reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    reader->setContentHandler(&handler);
    reader->setErrorHandler(&handler);
    reader->setEntityResolver(&handler);
    // The reader reports document type declarations only while a lexical
    // handler is installed.
    reader->setLexicalHandler(&handler);
    return reader;
}

}  // namespace

ByteVectorSAXParser::ByteVectorSAXParser(const std::vector<unsigned char>& bytes,
                                         std::vector<Step> path, Mode mode)
    : bytes_(bytes), path_(std::move(path)), mode_(mode) {}

ByteVectorSAXParser::~ByteVectorSAXParser() = default;

int ByteVectorSAXParser::Parse() {
    if (const auto refusal = document::FindEncodingRefusal(bytes_)) {
        GetLibLogFacility().Log(*refusal, kLogRoutine);
        return -1;
    }
    if (const auto fault = document::FindInvalidUtf8(bytes_)) {
        GetLibLogFacility().Log(fault->message, kLogRoutine);
        return -1;
    }
    if (document::FindNulByte(bytes_)) {
        GetLibLogFacility().Log(L"a NUL byte is not allowed in a policy document", kLogRoutine);
        return -1;
    }
    try {
        document::EnsureXmlPlatform();
    } catch (const xercesc::XMLException& error) {
        Log(L"Error during initialization! :\n", error.getMessage());
        return 1;
    }
    try {
        return Scan();
    } catch (const xercesc::XMLException& error) {
        Log(L"Exception message is: \n", error.getMessage());
    } catch (const xercesc::SAXException& error) {
        Log(L"Exception message is: \n", error.getMessage());
    } catch (...) {
        GetLibLogFacility().Log(L"Unexpected Exception \n", kLogRoutine);
        throw;
    }
    return -1;
}

// Reads piece by piece so that a first-match scan ends at its match and
// never reads the rest of a large document.
int ByteVectorSAXParser::Scan() {
    SAXHandler handler(path_, mode_);
    const std::unique_ptr<xercesc::SAX2XMLReader> reader = MakeReader(handler);
    static const unsigned char kNoBytes = 0;
    const xercesc::MemBufInputSource source(bytes_.empty() ? &kNoBytes : bytes_.data(),
                                            bytes_.size(), "xmlVersion");
    xercesc::XMLPScanToken token;
    bool more = reader->parseFirst(source, token);
    while (more && !handler.Finished()) {
        more = reader->parseNext(token);
    }
    reader->parseReset(token);
    results_ = handler.TakeResults();
    return 0;
}

RuleSAXParser::RuleSAXParser(const std::vector<unsigned char>& bytes)
    : ByteVectorSAXParser(bytes, {{"Properties", ""}, {"Version", ""}}, kStopAtFirstMatch) {}

DnsSAXParser::DnsSAXParser(const std::vector<unsigned char>& bytes)
    : ByteVectorSAXParser(bytes, {{"", "sv:DomainName"}, {"Value", ""}}, kCollectEveryMatch) {}

}  // namespace fwcommon
