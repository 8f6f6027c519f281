#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/XMLFormatter.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/PolicyDocument.h>
#include "document/DirectPolicyWriter.h"
#include "document/XmlPlatform.h"

namespace fwcommon {
namespace {

// Collects the serialiser's output directly in a byte vector.
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

// A failure Xerces reports by its own exception, as the documented one.
[[noreturn]] void ThrowSerializationFailure(const XMLCh* message) {
    xml_schema::diagnostics diagnostics;
    diagnostics.push_back(xml_schema::error(xml_schema::severity::error, L"policy", 0, 0,
                                            xsd::cxx::xml::transcode<wchar_t>(message)));
    throw xml_schema::serialization(diagnostics);
}

// The binding's own serializer: builds a DOM of the whole document and
// writes it. Used for documents the direct writer does not reproduce.
std::vector<unsigned char> WriteThroughBinding(const Sarvo::PolicyType& policy) {
    document::EnsureXmlPlatform();
    xml_schema::namespace_infomap namespaces;
    namespaces[kDocumentPrefix].name = kDocumentNamespace;
    namespaces[kDocumentPrefix].schema = kSchemaFileName;

    std::vector<unsigned char> bytes;
    ByteVectorTarget target(bytes);
    // Its DOM serializer throws DOMLSException for text it cannot write
    // (a control character, say); the contract promises serialization.
    try {
        Sarvo::Policy(target, policy, namespaces, L"UTF-8", xml_schema::flags::dont_initialize);
    } catch (const xercesc::DOMException& e) {  // DOMLSException among them
        ThrowSerializationFailure(e.getMessage());
    } catch (const xercesc::XMLException& e) {
        ThrowSerializationFailure(e.getMessage());
    }
    return bytes;
}

}  // namespace

std::vector<unsigned char> WritePolicyDocument(const Sarvo::PolicyType& policy) {
    std::vector<unsigned char> bytes;
    if (document::WritePolicyDirect(policy, bytes)) {
        return bytes;
    }
    return WriteThroughBinding(policy);
}

}  // namespace fwcommon
