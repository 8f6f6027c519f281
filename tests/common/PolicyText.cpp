#include "common/PolicyText.h"

#include <regex>
#include <stdexcept>

#include "common/TestFiles.h"

namespace fwcommon::test {

const std::string& PolicyNamespace() {
    static const std::string uri = [] {
        const std::string schema = ToString(ReadBytes(SourcePath("schema/rules.xsd")));
        std::smatch match;
        if (!std::regex_search(schema, match, std::regex("targetNamespace=\"([^\"]+)\""))) {
            throw std::runtime_error("schema/rules.xsd declares no targetNamespace");
        }
        return match[1].str();
    }();
    return uri;
}

std::string PropertiesText(const std::string& version, const std::string& issued,
                           const std::string& rollbackPeriod) {
    return "<Properties><Version>" + version + "</Version><IssueDateTime>" + issued +
           "</IssueDateTime><RollbackPeriod>" + rollbackPeriod + "</RollbackPeriod></Properties>";
}

std::string PolicyDocumentText(const std::string& rules, const std::string& namedObjects,
                               const std::string& options, const std::string& properties,
                               const std::string& rootAttributes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sv:Policy xmlns:sv=\"" +
                      PolicyNamespace() +
                      "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"" +
                      (rootAttributes.empty() ? "" : " " + rootAttributes) + ">";
    if (!namedObjects.empty()) {
        xml += "<NamedObjects>" + namedObjects + "</NamedObjects>";
    }
    xml += "<Rules>" + rules + "</Rules>";
    if (!options.empty()) {
        xml += "<Options>" + options + "</Options>";
    }
    return xml + properties + "</sv:Policy>";
}

}  // namespace fwcommon::test
