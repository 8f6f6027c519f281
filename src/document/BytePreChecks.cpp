#include "document/BytePreChecks.h"

#include <xsd/cxx/tree/error-handler.hxx>

#include <fwcommon/rules.hxx>
#include "document/DoctypeGuard.h"
#include "document/EncodingGuard.h"
#include "document/MarkupLimits.h"
#include "document/NulByteGuard.h"
#include "document/Utf8Guard.h"

namespace fwcommon::document {
namespace {

using ErrorHandler = xsd::cxx::tree::error_handler<wchar_t>;
using Severity = xsd::cxx::xml::error_handler<wchar_t>::severity;

[[noreturn]] void Refuse(const wchar_t* documentId, unsigned long line, unsigned long column,
                         const std::wstring& message) {
    ErrorHandler errors;
    errors.handle(documentId, line, column, Severity::fatal, message);
    errors.throw_if_failed<xml_schema::parsing>();
    throw xml_schema::parsing();  // not reached: a fatal diagnostic throws above
}

}  // namespace

void RefuseUnparsableBytes(const std::vector<unsigned char>& bytes, const wchar_t* documentId) {
    if (const auto refusal = FindEncodingRefusal(bytes)) {
        Refuse(documentId, 1, 1, *refusal);
    }
    if (const auto fault = FindInvalidUtf8(bytes)) {
        Refuse(documentId, fault->position.line, fault->position.column, fault->message);
    }
    if (const auto nul = FindNulByte(bytes)) {
        Refuse(documentId, nul->line, nul->column,
               L"a NUL byte is not allowed in a policy document");
    }
    if (const auto doctype = FindDoctype(bytes)) {
        Refuse(documentId, doctype->line, doctype->column,
               L"a DOCTYPE is not allowed in a policy document");
    }
    if (const auto breach = FindMarkupLimitBreach(bytes)) {
        Refuse(documentId, breach->position.line, breach->position.column, breach->message);
    }
}

}  // namespace fwcommon::document
