#pragma once

#include <ostream>
#include <string>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// Prints why a document was rejected: one line per parser diagnostic as
// "FILE:LINE:COLUMN: error: MESSAGE" ("FILE:LINE: error: MESSAGE" when it
// has no column, "FILE: error: MESSAGE" when it has no position), or
// "FILE: error: MESSAGE" for a rejection by the document binding, which has
// no position.
void PrintDocumentErrors(std::ostream& out, const std::string& file,
                         const xml_schema::exception& error);

}  // namespace fwpolicy
