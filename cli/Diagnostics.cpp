#include "Diagnostics.h"

#include <sstream>

#include "Utf8.h"

namespace fwpolicy {
namespace {

const char* SeverityName(const xml_schema::error& diagnostic) {
    return diagnostic.severity() == xml_schema::severity::warning ? "warning" : "error";
}

// "FILE:LINE:COLUMN", "FILE:LINE" without a column, "FILE" without a line
// (line and column 0 stand for no position).
void PrintPosition(std::ostream& out, const std::string& file, const xml_schema::error& d) {
    out << file;
    if (d.line() == 0) {
        return;
    }
    out << ':' << d.line();
    if (d.column() != 0) {
        out << ':' << d.column();
    }
}

void PrintParsingDiagnostics(std::ostream& out, const std::string& file,
                             const xml_schema::parsing& parsing) {
    for (const xml_schema::error& d : parsing.diagnostics()) {
        PrintPosition(out, file, d);
        out << ": " << SeverityName(d) << ": " << ToUtf8(d.message()) << '\n';
    }
}

}  // namespace

void PrintDocumentErrors(std::ostream& out, const std::string& file,
                         const xml_schema::exception& error) {
    if (const auto* parsing = dynamic_cast<const xml_schema::parsing*>(&error)) {
        if (!parsing->diagnostics().empty()) {
            PrintParsingDiagnostics(out, file, *parsing);
            return;
        }
    }
    std::wostringstream text;
    text << error;
    out << file << ": error: " << ToUtf8(text.str()) << '\n';
}

}  // namespace fwpolicy
