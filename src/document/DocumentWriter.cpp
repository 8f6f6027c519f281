#include <xercesc/framework/XMLFormatter.hpp>

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

// The binding's own serializer: builds a DOM of the whole document and
// writes it. Used for documents the direct writer does not reproduce.
std::vector<unsigned char> WriteThroughBinding(const Sarvo::PolicyType& policy) {
    document::EnsureXmlPlatform();
    xml_schema::namespace_infomap namespaces;
    namespaces[kDocumentPrefix].name = kDocumentNamespace;
    namespaces[kDocumentPrefix].schema = kSchemaFileName;

    std::vector<unsigned char> bytes;
    ByteVectorTarget target(bytes);
    Sarvo::Policy(target, policy, namespaces, L"UTF-8", xml_schema::flags::dont_initialize);
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
