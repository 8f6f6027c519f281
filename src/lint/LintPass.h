#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fwcommon/PolicyLint.h>
#include "lint/LintCatalog.h"
#include "lint/LintConditions.h"
#include "lint/LintReferences.h"
#include "store/SameObject.h"

namespace fwcommon::lint {

// A rule with its section and 1-based position in section order (0 for a
// rule of no section).
struct RuleEntry {
    const Sarvo::Rule* rule = nullptr;
    RuleType section = static_cast<RuleType>(0);
    std::size_t position = 0;
    // The rule's creation type, read once: the document holds it as text.
    int creationType = 0;
};

// The rule's index in its section as findings give it, counted from 0 as
// every index a user sees (0 for a rule of no section).
inline std::size_t ZeroBased(const RuleEntry& rule) {
    return rule.position > 0 ? rule.position - 1 : 0;
}

// The section of a rule by its kind; 0 for a plain Rule.
RuleType SectionOf(const Sarvo::Rule& rule);

// Rules per section in section order: ascending OrderId, ties in document
// order. Rules of no section come last, with position 0.
std::vector<std::vector<RuleEntry>> RulesBySection(const Sarvo::PolicyType& policy);

// True for a filtering rule that applies in both directions.
bool IsBidirectional(const Sarvo::Rule& rule);

// The findings of one document, kept in report order: objects in document
// order, then rules by section and position, each in the order found.
class FindingList {
public:
    explicit FindingList(std::string source) : source_(std::move(source)) {}

    void OnObject(const ObjectEntry& object, std::size_t index, LintSeverity severity,
                  const char* code, std::wstring message);
    // related: the other rule the finding is about, or null.
    void OnRule(const RuleEntry& rule, LintSeverity severity, const char* code,
                std::wstring message, const RuleEntry* related = nullptr);
    void MoveSortedInto(std::vector<LintFinding>& out);

private:
    struct Keyed {
        std::uint64_t key;
        LintFinding finding;
    };
    std::string source_;
    std::vector<Keyed> findings_;
};

// Keys of referenced objects (kind and Id) that count as used.
using UsedObjects = std::unordered_set<std::int64_t>;
std::int64_t UsageKey(NamedObjectType type, std::int32_t id);

// What the checks of one document share.
struct LintPass {
    const ObjectCatalog& catalog;
    ConditionEvaluator& evaluator;
    UsedObjects& used;
    FindingList& findings;
};

// Reports the references of one subject that name nothing, and marks the
// others used. report receives code and message.
template <typename Report>
void CheckReferences(const References& refs, LintPass& pass, Report report);

// Duplicate Ids, dangling references, unknown system objects, reference
// cycles and empty primitives of the document's own objects. others are
// the objects seen before them (the shared ones), for duplicate Ids.
void CheckObjects(const std::vector<ObjectEntry>& own, const std::vector<ObjectEntry>& others,
                  LintPass& pass);

// The objects of the documents linted so far, by Id and creation type.
// Each document's references resolve within that document, so two files
// may use one Id for different objects; a merge of the files then keeps
// only one of them under that Id and renumbers the other, so the lint
// names every such pair. Two that are the same object (SameObject), as a
// file and its copy hold, the merge keeps once: they are not named.
class EarlierObjectIds {
public:
    // Reports each object of own, the objects of policy, whose Id and
    // creation type an object of an earlier document holds, then remembers
    // own's objects as source's. Every document passed in must outlive
    // this.
    void CheckAndAdd(const std::vector<ObjectEntry>& own, const Sarvo::PolicyType& policy,
                     const std::string& source, FindingList& findings);

private:
    struct Holder {
        ObjectEntry object;
        std::wstring source;
        const ObjectIndex* objects;  // of the holder's document
    };
    std::map<std::pair<std::int32_t, int>, Holder> holders_;
    std::deque<ObjectIndex> indexes_;
};

// The rules of the documents linted so far, by creation type and RuleId. A
// merge of the documents keeps a rule's RuleId only when no rule of an
// earlier document holds it under the same creation type, so the lint
// names every rule a merge would renumber.
class EarlierRuleIds {
public:
    // Reports each rule of sections (a document's RulesBySection) whose
    // creation type and RuleId a rule of an earlier document holds, then
    // remembers them as source's. Every document passed in must outlive
    // this.
    void CheckAndAdd(const std::vector<std::vector<RuleEntry>>& sections, const std::string& source,
                     FindingList& findings);

private:
    struct Holder {
        RuleEntry rule;
        std::wstring source;
    };
    std::unordered_map<std::uint64_t, Holder> holders_;
};

// A document's label, which is UTF-8, in a message; bytes that are not UTF-8
// are taken one character each.
std::wstring SourceText(const std::string& source);

// Unused objects among own.
void CheckUnused(const std::vector<ObjectEntry>& own, const UsedObjects& used,
                 FindingList& findings);

// Identifiers, references, empty rules and shadowed rules of the document.
void CheckRules(const std::vector<std::vector<RuleEntry>>& sections, LintPass& pass);

// "rule #2 \"Name\" (RuleId 7)".
std::wstring DescribeRule(const RuleEntry& rule);
// "ip object \"Name\" (Id 101)".
std::wstring DescribeObject(const ObjectEntry& object);

template <typename Report>
void CheckReferences(const References& refs, LintPass& pass, Report report) {
    for (const Reference& ref : refs.objects) {
        pass.used.insert(UsageKey(ref.type, ref.id));
        if (pass.catalog.Count(ref.type, ref.id) == 0) {
            report(LintCode::kDanglingReference,
                   std::wstring(L"refers to ") + ObjectKindName(ref.type) + L" " +
                       std::to_wstring(ref.id) + L", which does not exist");
        }
    }
    for (const std::wstring* name : refs.systemNames) {
        if (!IsSystemObjectName(*name)) {
            report(LintCode::kUnknownSystemObject,
                   L"refers to the system object \"" + *name + L"\", which does not exist");
        }
    }
}

}  // namespace fwcommon::lint
