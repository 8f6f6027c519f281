#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include <CLI/App.hpp>

#include <fwcommon/rules.hxx>

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

// Why an id cannot name a rule: "2 rules have id 300001; name one with
// --section local --index 1 or the like", the section and index those of
// the first holder as `show` lists it.
std::string SharedIdMessage(std::size_t holders, long long id, const std::string& section,
                            std::size_t index);

// The identifiers the file being edited gives to more than one rule. The
// load keeps one holder's and renumbers the others, so --id would name the
// kept rule although the file does not tell which one is meant: LocateRule
// refuses such an id, as `rule show` does. Remembered when the load
// renumbered rules (RenumberedOnLoad), forgotten when the next edit loads
// its file. Main thread only.
void RememberSharedFileIds(const Sarvo::PolicyType& file);
void ForgetSharedFileIds();

}  // namespace fwpolicy
