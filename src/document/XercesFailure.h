#pragma once

#include <string>

#include <xercesc/util/XMLException.hpp>
#include <xsd/cxx/tree/error-handler.hxx>

namespace fwcommon::document {

// Xerces reports some failures by exception rather than through the error
// handler. Such an exception knows only the line of the Xerces source file
// that threw it, never a position in the text being read, so the fatal
// diagnostic it becomes has no position (line and column 0). Called on the
// parsing thread; errors belongs to the caller.
void RecordXercesFailure(xsd::cxx::tree::error_handler<wchar_t>& errors, const std::wstring& id,
                         const xercesc::XMLException& failure);
// The same for a failure that carries only a message (a DOMException, an
// OutOfMemoryException).
void RecordXercesFailure(xsd::cxx::tree::error_handler<wchar_t>& errors, const std::wstring& id,
                         const XMLCh* message);

}  // namespace fwcommon::document
