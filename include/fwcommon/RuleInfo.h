#pragma once

#include <cstdint>
#include <string>

namespace fwcommon {

// One rule that refers to a named object, as the dependency search reports
// it. A plain value.
struct RuleInfo {
    // Where in the rule the reference stands.
    enum Location : std::int32_t {
        eSource = 1,
        eDestination = 2,
        eServices = 3,
        eSchedules = 4,
    };

    std::wstring ruleName;
    // The section of the rule, as RuleTypeName gives it ("eLocalRules").
    std::wstring section;
    std::int32_t creationType = 0;
    std::int32_t location = 0;
};

}  // namespace fwcommon
