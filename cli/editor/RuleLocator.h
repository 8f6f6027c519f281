#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <CLI/App.hpp>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>

namespace fwpolicy {

// How a verb names one rule: --id RULEID, or --section S --index I (the
// 0-based place, as `fwpolicy show` numbers rules).
struct RuleLocator {
    long long id = 0;
    std::string section;
    unsigned int index = 0;
    CLI::Option* idOption = nullptr;
    CLI::Option* sectionOption = nullptr;
    CLI::Option* indexOption = nullptr;
};

void AddRuleLocatorOptions(CLI::App& verb, RuleLocator& locator);

struct LocatedRule {
    std::shared_ptr<fwcommon::IRule> rule;
    std::string section;
    std::size_t index = 0;
};

// The rule named (the verb's parse has made sure it names one, by id or by
// section and index); throws EditError when there is none.
LocatedRule LocateRule(fwcommon::Context& context, const std::wstring& dataname,
                       const RuleLocator& locator);

}  // namespace fwpolicy
