#pragma once

#include <string>

namespace fwcommon::test {

// The text `times` times over, for deep and crowded markup.
inline std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// The namespace of policy documents: the targetNamespace that
// schema/rules.xsd declares, read from the schema once per process.
const std::string& PolicyNamespace();

// The Properties element the document builders use unless told otherwise.
std::string PropertiesText(const std::string& version = "1.0",
                           const std::string& issued = "2026-01-01T00:00:00Z",
                           const std::string& rollbackPeriod = "900");

// A whole policy document: the XML declaration, the root in the schema's
// namespace (prefix sv, with xsi), then the NamedObjects, Rules and Options
// elements around the given inner XML (NamedObjects and Options only when
// their text is not empty), then properties. rootAttributes go on the
// root element after the namespace declarations.
std::string PolicyDocumentText(const std::string& rules, const std::string& namedObjects = "",
                               const std::string& options = "",
                               const std::string& properties = PropertiesText(),
                               const std::string& rootAttributes = "");

}  // namespace fwcommon::test
