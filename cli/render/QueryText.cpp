#include "render/QueryText.h"

#include <string>

#include "policy/RuleSection.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

constexpr std::size_t kExplanationIndent = 6;
constexpr std::size_t kIndentPerDepth = 2;

// One line of the answer; names in it may hold any character.
void PrintLine(std::ostream& out, const std::string& text) {
    out << terminal::Printable(text) << '\n';
}

std::string RuleLabel(const fwcommon::QueryRuleResult& r) {
    return "#" + std::to_string(ShownPosition(r)) + " \"" + ToUtf8(r.rule->Name()) + "\" (RuleId " +
           std::to_string(r.rule->RuleId()) + ")";
}

// "pass", "drop", or what a translation does.
std::string ActionText(const Sarvo::Rule& rule) {
    const std::string action = ActionName(rule);
    if (action != "translate") {
        return action;
    }
    const TranslationParts t = TranslationOf(rule);
    std::vector<std::string> parts;
    if (!t.sourceIp.empty()) {
        parts.push_back("source to " + t.sourceIp);
    }
    if (t.toOutboundInterface) {
        parts.push_back("source to the outbound interface's address");
    }
    if (!t.destinationIp.empty()) {
        parts.push_back("destination to " + t.destinationIp);
    }
    if (t.destinationPort >= 0) {
        parts.push_back("destination port to " + std::to_string(t.destinationPort));
    }
    std::string text = "translate";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? ": " : ", ") + parts[i];
    }
    return parts.empty() ? "translate: nothing" : text;
}

std::string DecidingText(const fwcommon::QuerySectionResult& s) {
    if (!s.deciding) {
        return "no rule matches";
    }
    const auto& r = s.rules[*s.deciding];
    return ActionText(*r.rule) + " by rule " + RuleLabel(r);
}

std::string DecisionLine(const fwcommon::QuerySectionResult& s) {
    const std::string name = SectionName(s.section) + ": ";
    if (s.decision == fwcommon::QueryDecision::eDepends) {
        return name + "depends, else " + DecidingText(s);
    }
    return name + DecidingText(s);
}

void PrintRule(std::ostream& out, const fwcommon::QueryRuleResult& r, bool deciding, bool explain,
               const ConditionText& words) {
    PrintLine(out, "  " + RuleLabel(r) + ": " + fwcommon::QueryAnswerName(r.answer) +
                       (r.reverse ? " in the reverse direction" : "") +
                       (deciding ? " (decides)" : ""));
    for (const fwcommon::QueryDependency& d : r.dependsOn) {
        PrintLine(out, "    depends on " + DependencyInWords(d, words));
    }
    if (!explain) {
        return;
    }
    for (const ExplanationLine& line : ExplanationInWords(r, words)) {
        PrintLine(out, std::string(kExplanationIndent + kIndentPerDepth * line.depth, ' ') +
                           line.text + ": " + fwcommon::QueryAnswerName(line.answer));
    }
}

}  // namespace

void PrintQueryText(std::ostream& out, const std::vector<FileAnswer>& answers, bool explain) {
    const auto protocols = textforms::ProtocolNames::FromDictionary();
    for (const FileAnswer& a : answers) {
        const ConditionText words(a.names, protocols);
        const std::string prefix = answers.size() > 1 ? a.file + ": " : "";
        for (const auto& s : a.sections) {
            PrintLine(out, prefix + DecisionLine(s));
            for (std::size_t i = 0; i < s.rules.size(); ++i) {
                PrintRule(out, s.rules[i], s.deciding && *s.deciding == i, explain, words);
            }
        }
    }
}

}  // namespace fwpolicy
