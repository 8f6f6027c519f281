#include "render/Diagnostics.h"

#include <cctype>
#include <regex>
#include <sstream>

#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

const char* SeverityName(const xml_schema::error& diagnostic) {
    return diagnostic.severity() == xml_schema::severity::warning ? "warning" : "error";
}

// "FILE:LINE:COLUMN", "FILE:LINE" without a column, "FILE" without a line
// (line and column 0 stand for no position).
void PrintPosition(std::ostream& out, const std::string& file, const xml_schema::error& d) {
    out << terminal::Printable(FileLabel(file));
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
        out << ": " << SeverityName(d) << ": " << terminal::Printable(ToUtf8(d.message())) << '\n';
    }
}

// The two forms in which the library names the function that failed:
// "ns::Class::Function.Details" and "Application function: Class::Function.
// Details: Details".
const std::regex& FunctionPrefix() {
    static const std::regex prefix(
        R"(^(Application function: )?[A-Za-z_]\w*(::[A-Za-z_]\w*)+\.( Details: )?)");
    return prefix;
}

bool StartsWithCapitalisedWord(const std::string& text) {
    return text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) &&
           std::islower(static_cast<unsigned char>(text[1]));
}

}  // namespace

std::string PlainMessage(const std::string& message) {
    // Most messages name no function; the search below is costly when a
    // merge notes thousands of renumbered rules.
    if (message.find("::") == std::string::npos)
        return message;
    std::smatch match;
    if (!std::regex_search(message, match, FunctionPrefix()))
        return message;
    std::string details = match.suffix();
    if (StartsWithCapitalisedWord(details))
        details[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(details[0])));
    return details;
}

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
    out << terminal::Printable(FileLabel(file))
        << ": error: " << terminal::Printable(ToUtf8(text.str())) << '\n';
}

std::string FileLabel(const std::string& file) {
    return file == "-" ? "standard input" : file;
}

void PrintFileError(std::ostream& out, const std::string& file, const std::string& message) {
    out << "fwpolicy: " << terminal::Printable(FileLabel(file)) << ": "
        << terminal::Printable(PlainMessage(message)) << '\n';
}

void PrintDetailLines(std::ostream& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        out << "  " << terminal::Printable(line) << '\n';
}

}  // namespace fwpolicy
