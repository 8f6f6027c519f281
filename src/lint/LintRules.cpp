#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <iterator>
#include <limits>
#include <map>
#include <unordered_map>

#include <fwcommon/IdentifierRanges.h>
#include <fwcommon/RuleIdentifier.h>
#include "lint/LintPass.h"
#include "lint/LintRuleMatch.h"
#include "lint/LintShadowIndex.h"

namespace fwcommon::lint {
namespace {

// A creation type as the tool names it: "policy", "user".
std::wstring CreationTypeWord(const Sarvo::Rule& rule) {
    std::wstring word(rule.CreationType());
    for (wchar_t& c : word)
        c = static_cast<wchar_t>(std::towlower(c));
    return word;
}

std::wstring SectionWord(RuleType section) {
    const std::wstring word = RuleSectionWord(section);
    return word.empty() ? L"no section" : word;
}

// A rule's creation type and RuleId in one key.
std::uint64_t IdentityKey(const RuleEntry& r) {
    return (static_cast<std::uint64_t>(r.creationType) << 32) | RuleIdentifierOf(r.rule->RuleId());
}

void CheckDuplicateRuleIds(const std::vector<std::vector<RuleEntry>>& sections,
                           FindingList& findings) {
    std::unordered_map<std::uint64_t, const RuleEntry*> first;
    for (const auto& rules : sections) {
        for (const RuleEntry& r : rules) {
            const std::uint64_t key = IdentityKey(r);
            const auto [at, inserted] = first.emplace(key, &r);
            if (!inserted) {
                findings.OnRule(r, LintSeverity::eError, LintCode::kDuplicateRuleId,
                                L"RuleId " + std::to_wstring(r.rule->RuleId()) +
                                    L" of creation type " + CreationTypeWord(*r.rule) +
                                    L" is also held by " + DescribeRule(*at->second) + L" of " +
                                    SectionWord(at->second->section),
                                at->second);
            }
        }
    }
}

CreationType CreationTypeOf(const RuleEntry& rule) {
    return static_cast<CreationType>(rule.creationType);
}

// The store keeps a loaded rule's identifier only inside the range of its
// creation type and renumbers every other one when the document is first
// edited.
bool InItsRange(const RuleEntry& r) {
    const IdentifierRange range = IdentifierRangeOf(CreationTypeOf(r));
    const std::uint32_t id = RuleIdentifierOf(r.rule->RuleId());
    return id >= range.first && id <= range.last;
}

void CheckIdentifierRanges(const std::vector<RuleEntry>& rules, FindingList& findings) {
    for (const RuleEntry& r : rules) {
        if (!InItsRange(r)) {
            const IdentifierRange range = IdentifierRangeOf(CreationTypeOf(r));
            findings.OnRule(r, LintSeverity::eWarning, LintCode::kIdentifierOutOfRange,
                            L"RuleId " + std::to_wstring(r.rule->RuleId()) +
                                L" lies outside the identifiers of creation type " +
                                CreationTypeWord(*r.rule) + L" (" + std::to_wstring(range.first) +
                                L" to " + std::to_wstring(range.last) +
                                L"): the first edit gives the rule a new one");
        }
    }
}

// New rules are numbered after the largest order id of their creation
// type; fewer free order ids than this above a rule is reported.
constexpr std::int64_t kOrderIdRoom = 1000000;
constexpr std::int64_t kLargestOrderId = std::numeric_limits<std::int64_t>::max();

void CheckOrderIdRoom(const std::vector<RuleEntry>& rules, FindingList& findings) {
    for (const RuleEntry& r : rules) {
        const std::int64_t orderId = r.rule->OrderId();
        if (r.section != 0 && orderId > kLargestOrderId - kOrderIdRoom) {
            findings.OnRule(r, LintSeverity::eWarning, LintCode::kOrderIdWithoutRoom,
                            L"OrderId " + std::to_wstring(orderId) + L" leaves room for only " +
                                std::to_wstring(kLargestOrderId - orderId) +
                                L" more order ids after it: new rules may be refused");
        }
    }
}

void CheckDuplicateOrderIds(const std::vector<RuleEntry>& rules, FindingList& findings) {
    for (std::size_t i = 1; i < rules.size(); ++i) {
        if (rules[i].section != 0 && rules[i].rule->OrderId() == rules[i - 1].rule->OrderId()) {
            std::size_t first = i - 1;
            while (first > 0 && rules[first - 1].rule->OrderId() == rules[i].rule->OrderId()) {
                --first;
            }
            findings.OnRule(rules[i], LintSeverity::eError, LintCode::kDuplicateOrderId,
                            L"OrderId " + std::to_wstring(rules[i].rule->OrderId()) +
                                L" is also held by " + DescribeRule(rules[first]),
                            &rules[first]);
        }
    }
}

template <typename Optional>
bool SameAddress(const Optional& a, const Optional& b) {
    return a.present() == b.present() && (!a.present() || a->Value() == b->Value());
}

// True when the two rules do exactly the same with what they match.
bool SameAction(const Sarvo::Action& a, const Sarvo::Action& b) {
    const auto* fa = dynamic_cast<const Sarvo::Filter*>(&a);
    const auto* fb = dynamic_cast<const Sarvo::Filter*>(&b);
    if (fa != nullptr && fb != nullptr) {
        return fa->FilteringAction() == fb->FilteringAction() &&
               fa->IsConnectionStateless() == fb->IsConnectionStateless() &&
               fa->IsPacketLoggingEnabled() == fb->IsPacketLoggingEnabled() &&
               fa->IsConnectionLoggingEnabled() == fb->IsConnectionLoggingEnabled() &&
               fa->IsBidirectional() == fb->IsBidirectional();
    }
    const auto* ta = dynamic_cast<const Sarvo::Translation*>(&a);
    const auto* tb = dynamic_cast<const Sarvo::Translation*>(&b);
    if (ta != nullptr && tb != nullptr) {
        return SameAddress(ta->SourceIp(), tb->SourceIp()) &&
               SameAddress(ta->DestinationIp(), tb->DestinationIp()) &&
               SameAddress(ta->DestinationPort(), tb->DestinationPort()) &&
               ta->IsTranslatedIntoOutboundInterface() == tb->IsTranslatedIntoOutboundInterface();
    }
    return false;
}

// Empty and shadowed rules of one section, in section order. Only an
// active rule with a smaller OrderId is filed as a possible coverer.
class SectionShadows {
public:
    // matches is storage for the rules' matches, emptied first: the
    // sections share it, so its pages are touched once, not once a section.
    SectionShadows(const std::vector<RuleEntry>& rules, LintPass& pass,
                   std::vector<RuleMatch>& matches)
        : rules_(rules), pass_(pass), matches_(matches) {}

    void Run() {
        matches_.clear();
        matches_.reserve(rules_.size());
        bidirectional_.reserve(rules_.size());
        std::size_t filedUpTo = 0;
        for (std::size_t i = 0; i < rules_.size(); ++i) {
            matches_.emplace_back(Built{this, &rules_[i]});
            bidirectional_.push_back(IsBidirectional(*rules_[i].rule));
            if (rules_[i].section == 0) {
                continue;
            }
            for (; filedUpTo < i; ++filedUpTo) {
                if (rules_[filedUpTo].rule->OrderId() == rules_[i].rule->OrderId()) {
                    break;
                }
                if (rules_[filedUpTo].rule->IsActive()) {
                    index_.Add(static_cast<std::uint32_t>(filedUpTo), matches_[filedUpTo]);
                }
            }
            Check(i);
        }
    }

private:
    // Converts to the rule's match, which the vector's emplace then builds
    // in its place instead of moving it there.
    struct Built {
        SectionShadows* self;
        const RuleEntry* entry;
        operator RuleMatch() const { return self->Build(*entry); }
    };

    RuleMatch Build(const RuleEntry& entry) {
        const auto report = [&](const char* code, std::wstring message) {
            pass_.findings.OnRule(entry, LintSeverity::eError, code, std::move(message));
        };
        ReferencesOfRule(entry.rule->ConditionSet(), references_);
        CheckReferences(references_, pass_, report);
        if (const auto* translation =
                dynamic_cast<const Sarvo::Translation*>(&entry.rule->Action())) {
            CheckTranslation(*translation, report);
        }
        return BuildRuleMatch(
            entry.rule->ConditionSet(), pass_.evaluator,
            [&](const char* code, const std::wstring& message) { report(code, message); });
    }

    void Check(std::size_t i) {
        const RuleEntry& entry = rules_[i];
        if (const wchar_t* part = EmptyPart(matches_[i])) {
            pass_.findings.OnRule(
                entry, LintSeverity::eError, LintCode::kNeverMatches,
                std::wstring(L"can never match: its ") + part + L" matches nothing");
            return;
        }
        if (!entry.rule->IsActive()) {
            return;
        }
        const bool bidirectional = bidirectional_[i];
        index_.VisitCandidates(matches_[i], [&](std::uint32_t c) {
            if ((bidirectional && !bidirectional_[c]) || !Covers(matches_[c], matches_[i])) {
                return false;
            }
            ReportShadow(entry, rules_[c]);
            return true;
        });
    }

    void ReportShadow(const RuleEntry& entry, const RuleEntry& earlier) {
        if (SameAction(entry.rule->Action(), earlier.rule->Action())) {
            pass_.findings.OnRule(entry, LintSeverity::eWarning, LintCode::kRedundantRule,
                                  L"is redundant: " + DescribeRule(earlier) +
                                      L" matches everything it matches, with the same action",
                                  &earlier);
        } else {
            pass_.findings.OnRule(entry, LintSeverity::eError, LintCode::kShadowedRule,
                                  L"can never match: " + DescribeRule(earlier) +
                                      L" matches everything it matches, with another action",
                                  &earlier);
        }
    }

    const std::vector<RuleEntry>& rules_;
    LintPass& pass_;
    std::vector<RuleMatch>& matches_;
    std::vector<bool> bidirectional_;  // of each rule, by its place
    References references_;            // of the rule being built
    ShadowIndex index_;
};

}  // namespace

RuleType SectionOf(const Sarvo::Rule& rule) {
    if (dynamic_cast<const Sarvo::VpnRule*>(&rule)) {
        return eVPNRules;
    }
    if (dynamic_cast<const Sarvo::NatRule*>(&rule)) {
        return eNATRules;
    }
    if (dynamic_cast<const Sarvo::TunnelingRule*>(&rule)) {
        return eTunnelRules;
    }
    if (dynamic_cast<const Sarvo::LocalRule*>(&rule)) {
        return eLocalRules;
    }
    if (dynamic_cast<const Sarvo::TransitRule*>(&rule)) {
        return eTransitRules;
    }
    return static_cast<RuleType>(0);
}

std::vector<std::vector<RuleEntry>> RulesBySection(const Sarvo::PolicyType& policy) {
    std::map<int, std::vector<RuleEntry>> sections;
    for (const Sarvo::Rule& rule : policy.Rules().Rule()) {
        const RuleType section = SectionOf(rule);
        sections[section == 0 ? 99 : section].push_back(
            RuleEntry{&rule, section, 0, static_cast<int>(rule.CreationType())});
    }
    std::vector<std::vector<RuleEntry>> out;
    for (auto& [key, rules] : sections) {
        if (key != 99) {
            std::stable_sort(rules.begin(), rules.end(),
                             [](const RuleEntry& a, const RuleEntry& b) {
                                 return a.rule->OrderId() < b.rule->OrderId();
                             });
            for (std::size_t i = 0; i < rules.size(); ++i) {
                rules[i].position = i + 1;
            }
        }
        out.push_back(std::move(rules));
    }
    return out;
}

bool IsBidirectional(const Sarvo::Rule& rule) {
    const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule.Action());
    return filter != nullptr && filter->IsBidirectional();
}

namespace {

// Appends the decimal digits of value (a minus sign first when negative).
void AppendDecimal(std::wstring& text, std::int64_t value) {
    wchar_t digits[24];
    wchar_t* first = std::end(digits);
    std::uint64_t rest =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--first = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        *--first = L'-';
    }
    text.append(first, std::end(digits));
}

}  // namespace

std::wstring DescribeRule(const RuleEntry& rule) {
    // Built in one string: there is one for every shadowed rule.
    const std::wstring& name = rule.rule->Name();
    std::wstring text;
    text.reserve(name.size() + 48);
    text += L"rule #";
    AppendDecimal(text, static_cast<std::int64_t>(ZeroBased(rule)));
    text += L" \"";
    text += name;
    text += L"\" (RuleId ";
    AppendDecimal(text, rule.rule->RuleId());
    text += L')';
    return text;
}

void EarlierRuleIds::CheckAndAdd(const std::vector<std::vector<RuleEntry>>& sections,
                                 const std::string& source, FindingList& findings) {
    const std::wstring sourceText = SourceText(source);
    for (const auto& rules : sections) {
        for (const RuleEntry& r : rules) {
            // A merge renumbers a rule outside its range whatever the other
            // files hold; identifier-out-of-range names it.
            if (!InItsRange(r)) {
                continue;
            }
            const auto [at, first] = holders_.emplace(IdentityKey(r), Holder{r, sourceText});
            const Holder& holder = at->second;
            if (first || holder.source == sourceText) {
                continue;
            }
            findings.OnRule(r, LintSeverity::eWarning, LintCode::kRuleIdInOtherFile,
                            L"RuleId " + std::to_wstring(r.rule->RuleId()) + L" of creation type " +
                                CreationTypeWord(*r.rule) + L" is also held by " +
                                DescribeRule(holder.rule) + L" of " +
                                SectionWord(holder.rule.section) + L" in " + holder.source +
                                L": a merge of the files gives this rule a new RuleId");
        }
    }
}

void CheckRules(const std::vector<std::vector<RuleEntry>>& sections, LintPass& pass) {
    CheckDuplicateRuleIds(sections, pass.findings);
    std::size_t largest = 0;
    for (const auto& rules : sections) {
        largest = std::max(largest, rules.size());
    }
    std::vector<RuleMatch> matches;
    matches.reserve(largest);
    for (const auto& rules : sections) {
        CheckDuplicateOrderIds(rules, pass.findings);
        CheckIdentifierRanges(rules, pass.findings);
        CheckOrderIdRoom(rules, pass.findings);
        SectionShadows(rules, pass, matches).Run();
    }
}

}  // namespace fwcommon::lint
