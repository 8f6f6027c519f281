#include <xsd/cxx/tree/error-handler.hxx>
#include <xsd/cxx/xml/sax/bits/error-handler-proxy.hxx>

#include <fwcommon/PolicyDocument.h>
#include "document/TypedDocumentBuilder.h"
#include "document/ValidatingRead.h"

namespace fwcommon {

std::unique_ptr<Sarvo::PolicyType> ParsePolicyDocument(const std::vector<unsigned char>& bytes,
                                                       const std::wstring& schemaPath) {
    xercesc::XMLGrammarPool& pool = document::PrepareValidatingRead(bytes, schemaPath);

    xsd::cxx::tree::error_handler<wchar_t> errors;
    xsd::cxx::xml::sax::bits::error_handler_proxy<wchar_t> proxy(errors);
    document::TypedDocumentBuilder builder([&proxy] { return proxy.failed(); });
    document::RecordingXercesExceptions(
        errors, [&] { document::ReadValidating(bytes, pool, proxy, builder); });
    errors.throw_if_failed<xml_schema::parsing>();
    if (proxy.failed()) {
        throw xml_schema::parsing();
    }
    // A failure of Xerces while the typed elements were built is reported
    // as one of the read.
    std::unique_ptr<Sarvo::PolicyType> policy;
    document::RecordingXercesExceptions(errors, [&] { policy = builder.TakeDocument(); });
    errors.throw_if_failed<xml_schema::parsing>();
    return policy;
}

}  // namespace fwcommon
