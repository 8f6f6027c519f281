#include "render/QueryAnswers.h"

#include "ExitStatus.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// side: what goes before an interface ("in ", "out " or nothing).
std::string ConditionWords(const Sarvo::AbstractCondition& c, const char* side,
                           const ConditionText& words) {
    if (const auto* schedule = dynamic_cast<const Sarvo::ScheduleCondition*>(&c)) {
        return words.Schedule(*schedule);
    }
    if (const auto* service = dynamic_cast<const Sarvo::ServiceCondition*>(&c)) {
        return words.Service(*service);
    }
    if (const auto* host = dynamic_cast<const Sarvo::IpHostCondition*>(&c)) {
        return words.IpHost(*host);
    }
    if (const auto* host = dynamic_cast<const Sarvo::VpnHostCondition*>(&c)) {
        return words.VpnHost(*host);
    }
    if (const auto* interface = dynamic_cast<const Sarvo::InterfaceCondition*>(&c)) {
        return side + words.Interface(*interface);
    }
    return "(condition of no known kind)";
}

}  // namespace

std::vector<ExplanationLine> ExplanationInWords(const fwcommon::QueryRuleResult& r,
                                                const ConditionText& words) {
    using Place = fwcommon::QueryReason::Place;
    std::vector<ExplanationLine> lines;
    std::wstring part;
    for (const fwcommon::QueryReason& reason : r.explanation) {
        ExplanationLine line{reason.depth, reason.answer, ""};
        if (reason.depth == 0) {
            part = reason.text;
            line.text = ToUtf8(part);
        } else if (reason.condition == nullptr) {
            line.text = "any";
        } else if (reason.place == Place::eRule) {
            line.text =
                ConditionWords(*reason.condition, part == L"destination" ? "out " : "in ", words);
        } else {
            // An object's member: the way the flow takes an interface is
            // the rule's, not the member's.
            line.text = std::string(reason.place == Place::eInclusion ? "include " : "exclude ") +
                        ConditionWords(*reason.condition, "", words);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string DependencyInWords(const fwcommon::QueryDependency& d, const ConditionText& words) {
    std::string text = d.reverse ? "reverse direction: " : "";
    text += ToUtf8(d.about) + ": ";
    return text +
           (d.condition != nullptr ? ConditionWords(*d.condition, "", words) : ToUtf8(d.text));
}

int QueryExitStatus(const std::vector<FileAnswer>& answers) {
    bool onlyNat = true;
    for (const auto& a : answers) {
        for (const auto& s : a.sections) {
            onlyNat = onlyNat && s.section == fwcommon::eNATRules;
        }
    }
    bool depends = false;
    for (const auto& a : answers) {
        for (const auto& s : a.sections) {
            if (s.section == fwcommon::eNATRules && !onlyNat) {
                continue;
            }
            if (s.decision == fwcommon::QueryDecision::ePass ||
                s.decision == fwcommon::QueryDecision::eTranslate) {
                return kExitOk;
            }
            depends = depends || s.decision == fwcommon::QueryDecision::eDepends;
        }
    }
    return depends ? kExitDepends : kExitFailure;
}

std::string QueryOutcomeName(int status) {
    return status == kExitOk ? "pass" : status == kExitDepends ? "depends" : "drop";
}

std::size_t ShownPosition(const fwcommon::QueryRuleResult& r) {
    return r.position - 1;
}

TranslationParts TranslationOf(const Sarvo::Rule& rule) {
    TranslationParts parts;
    const auto* nat = dynamic_cast<const Sarvo::Translation*>(&rule.Action());
    if (nat == nullptr) {
        return parts;
    }
    if (nat->SourceIp()) {
        parts.sourceIp = ToUtf8(nat->SourceIp()->Value());
    }
    parts.toOutboundInterface = nat->IsTranslatedIntoOutboundInterface();
    if (nat->DestinationIp()) {
        parts.destinationIp = ToUtf8(nat->DestinationIp()->Value());
    }
    if (nat->DestinationPort()) {
        parts.destinationPort = nat->DestinationPort()->Value();
    }
    return parts;
}

std::string ActionName(const Sarvo::Rule& rule) {
    if (const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule.Action())) {
        return filter->FilteringAction() == Sarvo::ActionTypes::Pass ? "pass" : "drop";
    }
    return "translate";
}

}  // namespace fwpolicy
