#include "document/XercesFailure.h"

#include <xsd/cxx/xml/string.hxx>

namespace fwcommon::document {
namespace {

constexpr unsigned long kNoPosition = 0;

}  // namespace

void RecordXercesFailure(xsd::cxx::tree::error_handler<wchar_t>& errors, const std::wstring& id,
                         const xercesc::XMLException& failure) {
    RecordXercesFailure(errors, id, failure.getMessage());
}

void RecordXercesFailure(xsd::cxx::tree::error_handler<wchar_t>& errors, const std::wstring& id,
                         const XMLCh* message) {
    errors.handle(id, kNoPosition, kNoPosition,
                  xsd::cxx::xml::error_handler<wchar_t>::severity::fatal,
                  message != nullptr ? xsd::cxx::xml::transcode<wchar_t>(message) : std::wstring());
}

}  // namespace fwcommon::document
