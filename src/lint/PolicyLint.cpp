#include <fwcommon/PolicyLint.h>

#include <algorithm>

#include "lint/LintPass.h"

namespace fwcommon {
namespace lint {
namespace {

constexpr std::uint64_t kRuleKey = std::uint64_t(1) << 60;

LintFinding NewFinding(const std::string& source, LintSeverity severity, const char* code,
                       std::wstring message) {
    LintFinding f;
    f.severity = severity;
    f.code = code;
    f.source = source;
    f.message = std::move(message);
    return f;
}

// Lints one document whose references see catalog; shared is the shared
// objects (empty when linting the shared document itself).
void LintDocumentPass(const std::vector<std::vector<RuleEntry>>& sections,
                      const std::vector<ObjectEntry>& own, const std::vector<ObjectEntry>& shared,
                      UsedObjects& used, FindingList& findings) {
    ObjectCatalog catalog;
    for (const ObjectEntry& e : shared) {
        catalog.Add(e);
    }
    for (const ObjectEntry& e : own) {
        catalog.Add(e);
    }
    Interner interner;
    ConditionEvaluator evaluator(catalog, interner);
    LintPass pass{catalog, evaluator, used, findings};
    CheckObjects(own, shared, pass);
    CheckRules(sections, pass);
}

}  // namespace

std::int64_t UsageKey(NamedObjectType type, std::int32_t id) {
    return (static_cast<std::int64_t>(type) << 32) |
           static_cast<std::int64_t>(static_cast<std::uint32_t>(id));
}

void FindingList::OnObject(const ObjectEntry& object, std::size_t index, LintSeverity severity,
                           const char* code, std::wstring message) {
    LintFinding f = NewFinding(source_, severity, code, std::move(message));
    f.subject = LintSubject::eNamedObject;
    f.objectType = object.type;
    f.identifier = object.element->Id();
    f.name = object.element->Name();
    findings_.push_back(Keyed{index, std::move(f)});
}

void FindingList::OnRule(const RuleEntry& rule, LintSeverity severity, const char* code,
                         std::wstring message, const RuleEntry* related) {
    LintFinding f = NewFinding(source_, severity, code, std::move(message));
    f.subject = LintSubject::eRule;
    f.section = rule.section;
    f.position = ZeroBased(rule);
    f.identifier = rule.rule->RuleId();
    f.name = rule.rule->Name();
    if (related != nullptr) {
        f.relatedRule = LintRelatedRule{related->section, ZeroBased(*related),
                                        related->rule->RuleId(), related->rule->Name()};
    }
    const std::uint64_t section = rule.section == 0 ? 99 : static_cast<std::uint64_t>(rule.section);
    findings_.push_back(Keyed{kRuleKey | (section << 40) | rule.position, std::move(f)});
}

void FindingList::MoveSortedInto(std::vector<LintFinding>& out) {
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (Keyed& k : findings_) {
        out.push_back(std::move(k.finding));
    }
    findings_.clear();
}

}  // namespace lint

std::vector<LintFinding> LintPolicies(const std::vector<LintDocument>& documents,
                                      const LintDocument* namedObjects) {
    using namespace lint;
    const bool haveShared = namedObjects != nullptr && namedObjects->policy != nullptr;
    const std::vector<ObjectEntry> shared =
        haveShared ? ObjectsOf(*namedObjects->policy, true) : std::vector<ObjectEntry>();
    UsedObjects usedShared;
    EarlierObjectIds earlierIds;
    EarlierRuleIds earlierRuleIds;
    std::vector<LintFinding> out;
    for (const LintDocument& document : documents) {
        if (document.policy == nullptr) {
            continue;
        }
        const std::vector<ObjectEntry> own = ObjectsOf(*document.policy, false);
        UsedObjects used;
        FindingList findings(document.source);
        const std::vector<std::vector<RuleEntry>> sections = RulesBySection(*document.policy);
        LintDocumentPass(sections, own, shared, used, findings);
        earlierIds.CheckAndAdd(own, *document.policy, document.source, findings);
        if (documents.size() > 1) {
            earlierRuleIds.CheckAndAdd(sections, document.source, findings);
        }
        CheckUnused(own, used, findings);
        usedShared.insert(used.begin(), used.end());
        findings.MoveSortedInto(out);
    }
    if (haveShared) {
        FindingList findings(namedObjects->source);
        LintDocumentPass(RulesBySection(*namedObjects->policy), shared, {}, usedShared, findings);
        CheckUnused(shared, usedShared, findings);
        findings.MoveSortedInto(out);
    }
    return out;
}

std::string LintSeverityName(LintSeverity severity) {
    return severity == LintSeverity::eWarning ? "warning" : "error";
}

}  // namespace fwcommon
