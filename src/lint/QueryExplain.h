#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <fwcommon/PolicyQuery.h>
#include "lint/LintCatalog.h"
#include "lint/LintConditions.h"
#include "lint/QueryVerdicts.h"

namespace fwcommon::lint {

// Writes why a rule answers a flow as it does: for each part, the
// conditions that match or may match and, below a reference, the members
// of the named object that do (inclusions and exclusions), down to the
// addresses, port ranges and windows that hold the flow. Every line's
// answer is the one the query's sets give for that condition. One thread
// at a time; catalog, evaluator and tester outlive it.
class Explainer {
public:
    Explainer(const ObjectCatalog& catalog, ConditionEvaluator& evaluator, const FlowTester& tester)
        : catalog_(catalog), evaluator_(evaluator), tester_(tester) {}

    void Rule(const Sarvo::ConditionSet& conditions, const FlowDirection& flow,
              const std::vector<QueryPart>& parts, std::vector<QueryReason>& out);

private:
    template <typename Optional>
    void Side(const Optional& network, const QueryEndpoint& end,
              const std::optional<std::wstring>& interfaceName, const wchar_t* label,
              const wchar_t* interfaceLabel, std::vector<QueryReason>& out);

    // One condition and, for a reference, the object's members below it.
    // answer gives a condition's answer, describe its text.
    template <typename Object, typename Ref, typename Condition, typename Answer, typename Describe>
    void Walk(const Condition& c, std::size_t depth, QueryReason::Place place,
              const std::wstring& prefix, NamedObjectType type, Answer answer, Describe describe,
              std::vector<QueryReason>& out);

    const ObjectCatalog& catalog_;
    ConditionEvaluator& evaluator_;
    const FlowTester& tester_;
    std::vector<std::int64_t> path_;  // objects being walked, against cycles
};

// Display texts of conditions, in the forms the tool reads: "10.0.0.1",
// "10.0.0.0/255.255.255.0", "10.0.0.1-10.0.0.9", "tcp/1024-65535:22",
// "icmp/8/0", "proto/47", "daily 08:00:00-18:00:00".
std::wstring DescribeHost(const Sarvo::IpHostCondition& c);
std::wstring DescribeInterface(const Sarvo::InterfaceCondition& c);
std::wstring DescribeVpnHost(const Sarvo::VpnHostCondition& c);
std::wstring DescribeService(const Sarvo::ServiceCondition& c);
std::wstring DescribeSchedule(const Sarvo::ScheduleCondition& c);

}  // namespace fwcommon::lint
