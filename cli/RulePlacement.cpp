#include "RulePlacement.h"

#include <algorithm>
#include <climits>

#include <fwcommon/PolicyDocument.h>
#include "PolicyEdit.h"
#include "RuleSection.h"

namespace fwpolicy {
namespace {

// The identifiers of the section's rules, in the order `show` lists them.
std::vector<long long> SectionIdentifiers(const std::vector<unsigned char>& source,
                                          const std::string& section) {
    const auto policy = fwcommon::ParsePolicyDocument(source);
    std::vector<const Sarvo::Rule*> rules;
    for (const auto& rule : policy->Rules().Rule()) {
        if (SectionOfRule(rule) == section)
            rules.push_back(&rule);
    }
    std::stable_sort(rules.begin(), rules.end(),
                     [](const auto* a, const auto* b) { return a->OrderId() < b->OrderId(); });
    std::vector<long long> identifiers;
    for (const Sarvo::Rule* rule : rules)
        identifiers.push_back(rule->RuleId());
    return identifiers;
}

std::string Counted(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " rule" : " rules");
}

int PlaceOf(const std::vector<long long>& identifiers, long long identifier,
            const std::string& section) {
    const auto count = std::count(identifiers.begin(), identifiers.end(), identifier);
    if (count == 0)
        throw EditError("section " + section + " has no rule with ID " +
                        std::to_string(identifier));
    if (count > 1)
        throw EditError("section " + section + " has " + std::to_string(count) + " rules with ID " +
                        std::to_string(identifier) + "; give --position instead");
    return static_cast<int>(std::find(identifiers.begin(), identifiers.end(), identifier) -
                            identifiers.begin());
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

int ResolvePlacement(const RulePlacement& placement, const std::vector<unsigned char>& source,
                     const std::string& section) {
    const std::vector<long long> identifiers = SectionIdentifiers(source, section);
    if (placement.beforeOption->count() > 0)
        return PlaceOf(identifiers, placement.before, section);
    if (placement.afterOption->count() > 0)
        return PlaceOf(identifiers, placement.after, section) + 1;
    if (placement.position > static_cast<long long>(identifiers.size())) {
        throw EditError("position " + std::to_string(placement.position) +
                        " is past the end of section " + section + " (" +
                        Counted(identifiers.size()) + ")");
    }
    return static_cast<int>(placement.position);
}

}  // namespace fwpolicy
