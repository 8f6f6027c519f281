#include "QueryJson.h"

#include <string>

#include "RuleSection.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

nlohmann::json TranslationJson(const Sarvo::Rule& rule) {
    const TranslationParts t = TranslationOf(rule);
    return {{"sourceIp", t.sourceIp.empty() ? nlohmann::json() : nlohmann::json(t.sourceIp)},
            {"toOutboundInterface", t.toOutboundInterface},
            {"destinationIp",
             t.destinationIp.empty() ? nlohmann::json() : nlohmann::json(t.destinationIp)},
            {"destinationPort",
             t.destinationPort < 0 ? nlohmann::json() : nlohmann::json(t.destinationPort)}};
}

nlohmann::json Strings(const std::vector<std::wstring>& texts) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::wstring& text : texts) {
        list.push_back(ToUtf8(text));
    }
    return list;
}

nlohmann::json ExplanationJson(const std::vector<fwcommon::QueryReason>& reasons) {
    nlohmann::json lines = nlohmann::json::array();
    for (const auto& reason : reasons) {
        lines.push_back({{"depth", reason.depth},
                         {"answer", fwcommon::QueryAnswerName(reason.answer)},
                         {"text", ToUtf8(reason.text)}});
    }
    return lines;
}

nlohmann::json RuleJson(const fwcommon::QueryRuleResult& r, bool deciding, bool explain) {
    nlohmann::json parts = nlohmann::json::object();
    for (const auto& p : r.parts) {
        parts[ToUtf8(p.part)] = fwcommon::QueryAnswerName(p.answer);
    }
    const std::string action = ActionName(*r.rule);
    nlohmann::json j = {{"position", ShownPosition(r)},
                        {"ruleId", r.rule->RuleId()},
                        {"name", ToUtf8(r.rule->Name())},
                        {"answer", fwcommon::QueryAnswerName(r.answer)},
                        {"direction", r.reverse ? "reverse" : "forward"},
                        {"decides", deciding},
                        {"action", action},
                        {"parts", parts},
                        {"dependsOn", Strings(r.dependsOn)}};
    if (action == "translate") {
        j["translation"] = TranslationJson(*r.rule);
    }
    if (explain) {
        j["explanation"] = ExplanationJson(r.explanation);
    }
    return j;
}

nlohmann::json SectionJson(const fwcommon::QuerySectionResult& s, bool explain) {
    nlohmann::json rules = nlohmann::json::array();
    for (std::size_t i = 0; i < s.rules.size(); ++i) {
        rules.push_back(RuleJson(s.rules[i], s.deciding && *s.deciding == i, explain));
    }
    return {{"section", SectionName(s.section)},
            {"decision", fwcommon::QueryDecisionName(s.decision)},
            {"deciding",
             s.deciding ? nlohmann::json(ShownPosition(s.rules[*s.deciding])) : nlohmann::json()},
            {"rules", rules}};
}

}  // namespace

nlohmann::json QueryJson(const std::vector<FileAnswer>& answers, int status, bool explain) {
    nlohmann::json files = nlohmann::json::array();
    for (const FileAnswer& a : answers) {
        nlohmann::json sections = nlohmann::json::array();
        for (const auto& s : a.sections) {
            sections.push_back(SectionJson(s, explain));
        }
        files.push_back({{"file", a.file}, {"sections", sections}});
    }
    return {{"decision", QueryOutcomeName(status)}, {"exitStatus", status}, {"files", files}};
}

}  // namespace fwpolicy
