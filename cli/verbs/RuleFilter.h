#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include <fwcommon/PolicyQuery.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// What `show` narrows its rules to, as the command line gives it; what is
// absent keeps every rule.
struct RuleFilterOptions {
    std::optional<long long> id;             // the RuleId
    std::optional<std::string> name;         // a shell wildcard pattern over the whole name
    std::optional<bool> active;              // true: active rules only; false: inactive only
    std::optional<std::string> source;       // an end of a flow, as query --from reads it
    std::optional<std::string> destination;  // as query --to reads it
    std::optional<std::string> service;      // as query --service reads it
};

// The filter of show's rules. Rules are kept by their own fields (RuleId,
// name, state) and, when a source, destination or service is given, by
// the flow query: a rule is kept when it matches or may match a flow with
// those parts (the others left open), references resolved through the
// named objects, a both-ways rule also in reverse. Inactive rules are
// asked as if active. Plain value, read-only after construction.
class RuleFilter {
public:
    // Throws std::invalid_argument naming the option and what is wrong with
    // its text ("--service: ..."). The protocol dictionary must be loaded.
    explicit RuleFilter(const RuleFilterOptions& options);

    bool Narrows() const;

    // The positions (from 0, in section order, as show counts them) of the
    // rules the filter keeps, by section name. namedObjects may be null.
    std::map<std::string, std::set<std::size_t>> KeptPositions(
        const Sarvo::PolicyType& policy, const Sarvo::PolicyType* namedObjects) const;

private:
    bool KeepsFields(const Sarvo::Rule& rule) const;
    bool AsksFlow() const;
    std::map<std::string, std::set<std::size_t>> FlowPositions(
        const Sarvo::PolicyType& policy, const Sarvo::PolicyType* namedObjects) const;

    RuleFilterOptions options_;
    fwcommon::QueryFlow flow_;
};

}  // namespace fwpolicy
