#include "QueryAnswers.h"

#include "CheckCommand.h"
#include "Utf8.h"

namespace fwpolicy {

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
