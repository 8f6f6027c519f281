#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/App.hpp>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include <fwcommon/rules.hxx>

#include "ObjectDirectory.h"
#include "ProtocolNames.h"

namespace fwpolicy {

// What `rule add` and `rule set` say about a rule's name, conditions and
// action, as given on the command line. Filled by CLI11; the option
// handles tell which flags were given.
struct RuleContent {
    std::string name;
    CLI::Option* nameOption = nullptr;  // `rule set` only: whether --name was given
    std::vector<std::string> sources, destinations, services, schedules;
    std::vector<std::string> excludedSources, excludedDestinations;  // always refused
    std::vector<std::string> sourceObjects, destinationObjects, serviceObjects, scheduleObjects;
    std::string sourceSide, destinationSide;  // "", "public" or "private"
    std::string action;                       // "", "pass" or "drop"
    std::string translateSource, translateDestination, translatePort;
    bool clearSource = false, clearDestination = false, clearServices = false,
         clearSchedules = false, clearTranslation = false;

    struct Switch {  // a pair of flags, one setting true and one false
        CLI::Option* on = nullptr;
        CLI::Option* off = nullptr;
    };
    Switch stateless, packetLog, connectionLog, bothWays, outboundInterface, active;
};

// Adds the content options to a verb; forSet adds --name, --action, the
// --clear-... options and the flags that undo a setting (--stateful,
// --enabled, ...); `rule add` has its own --name and --action.
void AddRuleContentOptions(CLI::App& verb, RuleContent& content, bool forSet);

// Whether the content names any source, destination, service or schedule.
bool GivesConditions(const RuleContent& content);

// Whether the content changes anything at all (`rule set` refuses to do
// nothing).
bool GivesChanges(const RuleContent& content);

// The parts of a rule the content changes, for the line that reports the
// edit: "name, source, services, action" (those given, in this order).
std::string ChangedParts(const RuleContent& content);

// Throws EditError when the options given do not fit the rule before any
// text is parsed: filter settings on a nat rule, translation on a filter
// rule, exclusions, an empty new name.
void CheckRuleContent(const RuleContent& content, bool nat);

// Throws CLI::ValidationError, a usage error, when the content cannot fit
// any document: a text form that does not parse (an address, a service, a
// schedule, a translation) or, when nat tells the kind of rule, options
// that do not fit it. Object names are looked up later, by the edit.
void CheckRuleContentArguments(const RuleContent& content, std::optional<bool> nat);

// Writes the content into the rule element: set clears first, then adds
// the entries given. Throws EditError naming the refused option and text.
// nat tells a translation rule from a filter rule.
void ApplyRuleContent(Sarvo::Rule& rule, const RuleContent& content, bool nat,
                      const ObjectDirectory& objects, const textforms::ProtocolNames& names);

// Applies the content to a rule just created and stores it through the
// Context.
void FillNewRule(fwcommon::Context& context, const std::wstring& dataname,
                 const std::shared_ptr<fwcommon::IRule>& rule, const RuleContent& content,
                 bool nat);

}  // namespace fwpolicy
