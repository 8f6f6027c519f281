#include "Diagnostics.h"

#include <sstream>

#include "Utf8.h"

namespace fwpolicy {
namespace {

const char* SeverityName(const xml_schema::error& diagnostic) {
    return diagnostic.severity() == xml_schema::severity::warning ? "warning" : "error";
}

void PrintParsingDiagnostics(std::ostream& out, const std::string& file,
                             const xml_schema::parsing& parsing) {
    for (const xml_schema::error& d : parsing.diagnostics()) {
        out << file << ':' << d.line() << ':' << d.column() << ": " << SeverityName(d) << ": "
            << ToUtf8(d.message()) << '\n';
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
