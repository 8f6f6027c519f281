#include <xercesc/sax2/DefaultHandler.hpp>
#include <xsd/cxx/tree/error-handler.hxx>
#include <xsd/cxx/xml/sax/bits/error-handler-proxy.hxx>

#include <fwcommon/PolicyDocument.h>
#include "document/AttributeDefaults.h"
#include "document/ChangedItems.h"
#include "document/KeptValueCheck.h"
#include "document/MergedItems.h"
#include "document/ValidatingRead.h"

namespace fwcommon {
namespace {

using ErrorHandler = xsd::cxx::tree::error_handler<wchar_t>;
using ErrorProxy = xsd::cxx::xml::sax::bits::error_handler_proxy<wchar_t>;

// Collects the text of the date and time elements and keeps the first one
// the typed document could not hold as written.
class DateTimeValues : public xercesc::DefaultHandler {
public:
    void startElement(const XMLCh* const, const XMLCh* const localName, const XMLCh* const,
                      const xercesc::Attributes&) override {
        collecting_ = document::HoldsDateOrTime(localName);
        text_.clear();
    }
    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        if (collecting_) {
            text_.append(chars, length);
        }
    }
    void endElement(const XMLCh* const, const XMLCh* const localName, const XMLCh* const) override {
        if (collecting_ && !unkept_) {
            unkept_ = document::FindUnkeptValue(localName, text_.c_str());
        }
        collecting_ = false;
    }

    const std::optional<std::wstring>& Unkept() const { return unkept_; }

private:
    bool collecting_ = false;
    std::u16string text_;
    std::optional<std::wstring> unkept_;
};

}  // namespace

void ValidatePolicyDocument(const std::vector<unsigned char>& bytes,
                            const std::wstring& schemaPath) {
    xercesc::XMLGrammarPool& pool = document::PrepareValidatingRead(bytes, schemaPath);

    ErrorHandler errors;
    ErrorProxy proxy(errors);
    DateTimeValues values;
    document::RecordingXercesExceptions(
        errors, [&] { document::ReadValidating(bytes, pool, proxy, values); });
    errors.throw_if_failed<xml_schema::parsing>();
    if (proxy.failed()) {
        throw xml_schema::parsing();
    }
    if (const auto& unkept = values.Unkept()) {
        xml_schema::diagnostics diagnostics;
        diagnostics.push_back(xml_schema::error(xml_schema::severity::error,
                                                document::kPolicyDocumentId, 0, 0, *unkept));
        throw xml_schema::parsing(diagnostics);
    }
}

namespace {

// Reads the part of a document that is left to check, and on a refusal the
// whole document, whose lines and columns the diagnostics name.
void ValidatePart(const std::optional<std::vector<unsigned char>>& part,
                  const std::vector<unsigned char>& whole, const std::wstring& schemaPath) {
    if (!part) {
        ValidatePolicyDocument(whole, schemaPath);
        return;
    }
    // The refusals of the bytes (encoding, NUL bytes, DOCTYPE, the bounds on
    // depth, attributes and text) need not read the left-out items again:
    // each of them passed in a valid document, at the same depth, and
    // leaving one out only joins the texts around it, so what the read of
    // the part refuses includes all the whole document would.
    try {
        ValidatePolicyDocument(*part, schemaPath);
    } catch (const xml_schema::exception&) {
        ValidatePolicyDocument(whole, schemaPath);
    }
}

}  // namespace

void ValidateEditedPolicyDocument(const std::vector<unsigned char>& valid,
                                  const std::vector<unsigned char>& edited,
                                  const std::wstring& schemaPath) {
    if (edited == valid) {
        return;
    }
    ValidatePart(document::ChangedPartOf(valid, edited, document::AttributeDefaultsOf(schemaPath)),
                 edited, schemaPath);
}

struct PolicyDocumentDigest::Parts {
    std::wstring schemaPath;
    std::optional<document::SourceDigests> digests;
};

PolicyDocumentDigest::PolicyDocumentDigest(const std::vector<unsigned char>& valid,
                                           const std::wstring& schemaPath)
    : parts_(std::make_shared<Parts>(
          Parts{schemaPath, document::DigestSource(valid, document::AttributeDefaultsOf(schemaPath),
                                                   document::RuleNumbersOf(schemaPath))})) {}

void ValidateMergedPolicyDocument(const std::vector<PolicyDocumentDigest>& sources,
                                  const std::vector<unsigned char>& merged,
                                  const std::wstring& schemaPath) {
    std::vector<const document::SourceDigests*> usable;
    for (const PolicyDocumentDigest& source : sources) {
        if (source.parts_->schemaPath == schemaPath && source.parts_->digests)
            usable.push_back(&*source.parts_->digests);
    }
    std::optional<std::vector<unsigned char>> part;
    if (!usable.empty()) {
        part = document::MergedPartOf(usable, merged, document::AttributeDefaultsOf(schemaPath),
                                      document::RuleNumbersOf(schemaPath));
    }
    ValidatePart(part, merged, schemaPath);
}

}  // namespace fwcommon
