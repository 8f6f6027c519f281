#pragma once

#include <string>
#include <vector>

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/XMLGrammarPool.hpp>
#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax2/ContentHandler.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xsd/cxx/tree/error-handler.hxx>

#include "document/XercesFailure.h"

namespace fwcommon::document {

// The steps that every validating read of a policy document shares, whether
// it builds the typed tree or only checks the bytes. Called on the reading
// thread.

// The name policy documents have in diagnostics.
inline constexpr wchar_t kPolicyDocumentId[] = L"policy";

// Refuses bytes that no parser may see, starts Xerces if need be and returns
// the grammar pool of the schema at schemaPath (the built-in schema when it is
// empty). The pool lives as long as the process.
xercesc::XMLGrammarPool& PrepareValidatingRead(const std::vector<unsigned char>& bytes,
                                               const std::wstring& schemaPath);

// Reads bytes with a validating SAX reader of the pool's rules grammar, as
// hardened as the library's DOM parsers (ParserConfiguration.h): namespaces
// and schema validation on, only the cached grammar, nothing loaded on the
// document's request. The bytes must have passed
// PrepareValidatingRead (a DOCTYPE never gets here). Reports to errors and
// content; throws what Xerces throws.
void ReadValidating(const std::vector<unsigned char>& bytes, xercesc::XMLGrammarPool& pool,
                    xercesc::ErrorHandler& errors, xercesc::ContentHandler& content);

// Runs read and records each exception Xerces throws instead of reporting
// through the error handler as a fatal diagnostic in errors.
template <typename Read>
void RecordingXercesExceptions(xsd::cxx::tree::error_handler<wchar_t>& errors, Read&& read) {
    try {
        read();
    } catch (const xercesc::OutOfMemoryException& e) {
        RecordXercesFailure(errors, kPolicyDocumentId, e.getMessage());
    } catch (const xercesc::XMLException& e) {
        RecordXercesFailure(errors, kPolicyDocumentId, e);
    } catch (const xercesc::DOMException& e) {
        RecordXercesFailure(errors, kPolicyDocumentId, e.getMessage());
    }
}

}  // namespace fwcommon::document
