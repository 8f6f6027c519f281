#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// Prints why a document was rejected: one line per parser diagnostic as
// "FILE:LINE:COLUMN: error: MESSAGE" ("FILE:LINE: error: MESSAGE" when it
// has no column, "FILE: error: MESSAGE" when it has no position), or
// "FILE: error: MESSAGE" for a rejection by the document binding, which has
// no position.
// File names and messages are printed with their control characters and
// direction marks escaped.
void PrintDocumentErrors(std::ostream& out, const std::string& file,
                         const xml_schema::exception& error);

// Prints "fwpolicy: FILE: MESSAGE" (UTF-8) on one line, escaped as PrintDocumentErrors
// does, the library's name of the failing function left out (PlainMessage);
// "-" is named "standard input".
void PrintFileError(std::ostream& out, const std::string& file, const std::string& message);
// Prints the lines that follow such a message and list what it is about,
// each indented by two spaces on a line of its own, escaped as the message.
void PrintDetailLines(std::ostream& out, const std::vector<std::string>& lines);

// A library error message for people: without the name of the function
// that raised it ("fwcommon::Context::CreateRule.The name holds ..."
// becomes "the name holds ...").
std::string PlainMessage(const std::string& message);

// How a file argument is named in messages: "standard input" for "-".
std::string FileLabel(const std::string& file);

}  // namespace fwpolicy
