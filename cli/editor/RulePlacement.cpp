#include "editor/RulePlacement.h"

#include <algorithm>
#include <climits>
#include <optional>

#include <fwcommon/IRule.h>
#include <fwcommon/PolicyDocument.h>
#include "editor/PolicyEdit.h"
#include "policy/RuleSection.h"

namespace fwpolicy {
namespace {

struct SectionRule {
    long long id;
    long long order;
};

// The section's rules as the Context holds them now, in the order `show`
// lists them.
std::vector<SectionRule> CurrentRules(fwcommon::Context& context, const std::wstring& dataname,
                                      const std::string& section) {
    std::vector<SectionRule> rules;
    const auto list = context.GetRules(dataname, RuleTypeOfSection(section));
    for (const auto& rule : *list) {
        const Sarvo::Rule& xml = *rule->GetXmlRule();
        rules.push_back({static_cast<long long>(xml.RuleId()), xml.OrderId()});
    }
    return rules;
}

// Loading may give a rule whose id clashes with the id space of its
// creation type a new id; the file still shows the old one, and its order
// id finds it.
std::optional<long long> OrderInFile(const std::vector<unsigned char>& source,
                                     const std::string& section, long long identifier) {
    const auto policy = fwcommon::ParsePolicyDocument(source);
    std::optional<long long> order;
    for (const auto& rule : policy->Rules().Rule()) {
        if (SectionOfRule(rule) == section && rule.RuleId() == identifier) {
            if (order)
                return std::nullopt;
            order = rule.OrderId();
        }
    }
    return order;
}

std::string Counted(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " rule" : " rules");
}

int PlaceOf(const std::vector<SectionRule>& rules, long long identifier,
            const std::vector<unsigned char>& source, const std::string& section) {
    const auto count =
        std::count_if(rules.begin(), rules.end(),
                      [identifier](const SectionRule& r) { return r.id == identifier; });
    if (count > 1)
        throw EditError("section " + section + " has " + std::to_string(count) + " rules with ID " +
                        std::to_string(identifier) + "; give --position instead");
    auto found = std::find_if(rules.begin(), rules.end(),
                              [identifier](const SectionRule& r) { return r.id == identifier; });
    if (found == rules.end()) {
        const std::optional<long long> order = OrderInFile(source, section, identifier);
        if (order)
            found = std::find_if(rules.begin(), rules.end(),
                                 [order](const SectionRule& r) { return r.order == *order; });
    }
    if (found == rules.end())
        throw EditError("section " + section + " has no rule with ID " +
                        std::to_string(identifier));
    return static_cast<int>(found - rules.begin());
}

}  // namespace

void AddRulePlacement(CLI::App& verb, RulePlacement& placement) {
    CLI::Option* position =
        verb.add_option("--position", placement.position,
                        "0-based place in the section, in the order show lists it "
                        "(default: the end)")
            ->check(CLI::Range(0LL, static_cast<long long>(INT_MAX)));
    placement.beforeOption =
        verb.add_option("--before", placement.before, "Put the rule just above the rule with ID");
    placement.afterOption =
        verb.add_option("--after", placement.after, "Put the rule just below the rule with ID");
    position->excludes(placement.beforeOption)->excludes(placement.afterOption);
    placement.beforeOption->excludes(placement.afterOption);
}

int ResolvePlacement(const RulePlacement& placement, fwcommon::Context& context,
                     const std::wstring& dataname, const std::vector<unsigned char>& source,
                     const std::string& section) {
    const std::vector<SectionRule> identifiers = CurrentRules(context, dataname, section);
    if (placement.beforeOption->count() > 0)
        return PlaceOf(identifiers, placement.before, source, section);
    if (placement.afterOption->count() > 0)
        return PlaceOf(identifiers, placement.after, source, section) + 1;
    if (placement.position > static_cast<long long>(identifiers.size())) {
        throw EditError("position " + std::to_string(placement.position) +
                        " is past the end of section " + section + " (" +
                        Counted(identifiers.size()) + ")");
    }
    return static_cast<int>(placement.position);
}

}  // namespace fwpolicy
