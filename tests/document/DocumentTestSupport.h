#pragma once

#include <sstream>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>

namespace fwcommon::test {

// The text that the document binding gives for an exception, as a host
// would print it.
inline std::wstring ErrorText(const xml_schema::exception& error) {
    std::wostringstream text;
    text << error;
    return text.str();
}

// Runs ParsePolicyDocument and returns the text of the binding exception it
// throws, or an empty string when the bytes are accepted.
inline std::wstring ParseError(const std::vector<unsigned char>& bytes,
                               const std::wstring& schemaPath = std::wstring()) {
    try {
        ParsePolicyDocument(bytes, schemaPath);
    } catch (const xml_schema::exception& e) {
        return ErrorText(e);
    }
    return std::wstring();
}

// The smallest valid document, with `rules` inside its Rules element.
inline std::string MinimalPolicy(const std::string& rules = std::string()) {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<sv:Policy xmlns:sv=\"") +
           kDocumentNamespaceNarrow +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<Rules>" +
           rules +
           "</Rules><Properties><Version>1.0</Version>"
           "<IssueDateTime>2026-01-01T00:00:00Z</IssueDateTime>"
           "<RollbackPeriod>900</RollbackPeriod></Properties></sv:Policy>\n";
}

}  // namespace fwcommon::test
