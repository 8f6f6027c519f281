#include "render/QueryJson.h"

#include <string>

#include "policy/RuleSection.h"
#include "text/Utf8.h"

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

nlohmann::json Dependencies(const std::vector<fwcommon::QueryDependency>& dependencies,
                            const ConditionText& words) {
    nlohmann::json list = nlohmann::json::array();
    for (const fwcommon::QueryDependency& d : dependencies) {
        list.push_back(DependencyInWords(d, words));
    }
    return list;
}

nlohmann::json ExplanationJson(const fwcommon::QueryRuleResult& r, const ConditionText& words) {
    nlohmann::json lines = nlohmann::json::array();
    for (const ExplanationLine& line : ExplanationInWords(r, words)) {
        lines.push_back({{"depth", line.depth},
                         {"answer", fwcommon::QueryAnswerName(line.answer)},
                         {"text", line.text}});
    }
    return lines;
}

nlohmann::json RuleJson(const fwcommon::QueryRuleResult& r, bool deciding, bool explain,
                        const ConditionText& words) {
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
                        {"dependsOn", Dependencies(r.dependsOn, words)}};
    if (action == "translate") {
        j["translation"] = TranslationJson(*r.rule);
    }
    if (explain) {
        j["explanation"] = ExplanationJson(r, words);
    }
    return j;
}

nlohmann::json SectionJson(const fwcommon::QuerySectionResult& s, bool explain,
                           const ConditionText& words) {
    nlohmann::json rules = nlohmann::json::array();
    for (std::size_t i = 0; i < s.rules.size(); ++i) {
        rules.push_back(RuleJson(s.rules[i], s.deciding && *s.deciding == i, explain, words));
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
    const auto protocols = textforms::ProtocolNames::FromDictionary();
    for (const FileAnswer& a : answers) {
        const ConditionText words(a.names, protocols);
        nlohmann::json sections = nlohmann::json::array();
        for (const auto& s : a.sections) {
            sections.push_back(SectionJson(s, explain, words));
        }
        files.push_back({{"file", a.file}, {"sections", sections}});
    }
    return {{"decision", QueryOutcomeName(status)}, {"exitStatus", status}, {"files", files}};
}

}  // namespace fwpolicy
