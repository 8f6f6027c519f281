#include <fwcommon/PolicyQuery.h>

#include "lint/LintPass.h"
#include "lint/LintRuleMatch.h"
#include "lint/QueryExplain.h"
#include "lint/QueryVerdicts.h"

namespace fwcommon {
namespace lint {
namespace {

const RuleType kAllSections[] = {eLocalRules, eVPNRules, eTransitRules, eTunnelRules, eNATRules};

// The rules of one document and the named objects they see, with the
// evaluator that turns their conditions into sets.
class QueryPass {
public:
    QueryPass(const Sarvo::PolicyType& policy, const Sarvo::PolicyType* namedObjects)
        : evaluator_(catalog_, interner_),
          tester_(interner_),
          explainer_(catalog_, evaluator_, tester_) {
        if (namedObjects != nullptr) {
            for (const ObjectEntry& e : ObjectsOf(*namedObjects, true)) {
                catalog_.Add(e);
            }
        }
        for (const ObjectEntry& e : ObjectsOf(policy, false)) {
            catalog_.Add(e);
        }
        sections_ = RulesBySection(policy);
    }

    QuerySectionResult Section(RuleType section, const QueryFlow& flow,
                               const QueryOptions& options) {
        QuerySectionResult result;
        result.section = section;
        const std::vector<RuleEntry>* rules = RulesOf(section);
        if (rules == nullptr) {
            return result;
        }
        const FlowDirection forward = ForwardOf(flow);
        const FlowDirection reverse = ReverseOf(flow);
        bool open = false;  // a rule before the deciding one may match
        for (const RuleEntry& entry : *rules) {
            if (!entry.rule->IsActive()) {
                continue;
            }
            QueryRuleResult r = Ask(entry, forward, reverse, options.explain);
            if (r.answer == QueryAnswer::eDoesNotMatch) {
                continue;
            }
            const bool decides = r.answer == QueryAnswer::eMatches && !result.deciding;
            open = open || (!result.deciding && r.answer == QueryAnswer::eMayMatch);
            if (decides) {
                result.deciding = result.rules.size();
                result.decision = open ? QueryDecision::eDepends : DecisionOf(*entry.rule);
            }
            result.rules.push_back(std::move(r));
            if (decides && !options.all) {
                break;
            }
        }
        if (!result.deciding && open) {
            result.decision = QueryDecision::eDepends;
        }
        return result;
    }

private:
    const std::vector<RuleEntry>* RulesOf(RuleType section) const {
        for (const auto& rules : sections_) {
            if (!rules.empty() && rules.front().section == section) {
                return &rules;
            }
        }
        return nullptr;
    }

    static QueryDecision DecisionOf(const Sarvo::Rule& rule) {
        if (const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule.Action())) {
            return filter->FilteringAction() == Sarvo::ActionTypes::Pass ? QueryDecision::ePass
                                                                         : QueryDecision::eDrop;
        }
        return QueryDecision::eTranslate;
    }

    QueryRuleResult Ask(const RuleEntry& entry, const FlowDirection& forward,
                        const FlowDirection& reverse, bool explain) {
        RuleMatch match = BuildRuleMatch(entry.rule->ConditionSet(), evaluator_, noSink_);
        // At a given moment the schedule is asked there, both directions
        // sharing it.
        const auto& schedules = entry.rule->ConditionSet().ScheduleCondition();
        if (forward.second && !schedules.empty()) {
            match.schedule = ScheduleBounds::Empty();
            for (const auto& c : schedules) {
                match.schedule.UnionWith(evaluator_.ScheduleAt(c, *forward.second));
            }
        }
        QueryRuleResult r;
        r.rule = entry.rule;
        r.position = entry.position;
        Verdict v = tester_.Rule(match, forward, r.parts, r.decidedBy);
        if (v.answer != QueryAnswer::eMatches && IsBidirectional(*entry.rule)) {
            std::vector<QueryPart> parts;
            std::wstring decidedBy;
            Verdict back = tester_.Rule(match, reverse, parts, decidedBy);
            for (QueryDependency& d : back.dependsOn) {
                d.reverse = true;
            }
            if (back.answer > v.answer) {
                r.reverse = true;
                r.parts = std::move(parts);
                r.decidedBy = std::move(decidedBy);
            }
            v = Either(std::move(v), back);
        }
        r.answer = v.answer;
        r.dependsOn = std::move(v.dependsOn);
        if (explain && r.answer != QueryAnswer::eDoesNotMatch) {
            explainer_.Rule(entry.rule->ConditionSet(), r.reverse ? reverse : forward, r.parts,
                            r.explanation);
        }
        return r;
    }

    ObjectCatalog catalog_;
    Interner interner_;
    ConditionEvaluator evaluator_;
    FlowTester tester_;
    Explainer explainer_;
    std::vector<std::vector<RuleEntry>> sections_;
    const ValueSink noSink_;
};

}  // namespace
}  // namespace lint

std::vector<QuerySectionResult> QueryPolicy(const Sarvo::PolicyType& policy,
                                            const Sarvo::PolicyType* namedObjects,
                                            const QueryFlow& flow, const QueryOptions& options) {
    lint::QueryPass pass(policy, namedObjects);
    std::vector<QuerySectionResult> out;
    if (options.sections.empty()) {
        for (RuleType section : lint::kAllSections) {
            out.push_back(pass.Section(section, flow, options));
        }
    } else {
        for (RuleType section : options.sections) {
            out.push_back(pass.Section(section, flow, options));
        }
    }
    return out;
}

std::string QueryAnswerName(QueryAnswer answer) {
    switch (answer) {
        case QueryAnswer::eMatches:
            return "matches";
        case QueryAnswer::eMayMatch:
            return "may match";
        default:
            return "does not match";
    }
}

std::wstring QueryDependencyText(const QueryDependency& dependency) {
    return (dependency.reverse ? L"reverse direction: " : L"") + dependency.about + L": " +
           dependency.text;
}

std::string QueryDecisionName(QueryDecision decision) {
    switch (decision) {
        case QueryDecision::ePass:
            return "pass";
        case QueryDecision::eDrop:
            return "drop";
        case QueryDecision::eTranslate:
            return "translate";
        case QueryDecision::eDepends:
            return "depends";
        default:
            return "no rule matches";
    }
}

}  // namespace fwcommon
