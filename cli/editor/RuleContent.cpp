#include "RuleContent.h"

#include "ConditionElements.h"
#include "EntriesListedOnce.h"
#include "ParsedTextForm.h"
#include "References.h"
#include "Schedules.h"
#include "Services.h"
#include "TextScan.h"
#include "editor/PolicyEdit.h"
#include "fileio/DataFiles.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

constexpr unsigned long kMaxPort = 65535;

using textforms::HostTerm;

CLI::Option* Flag(CLI::App& verb, const std::string& name, const std::string& help) {
    return verb.add_flag(name, help);
}

void AddSwitch(CLI::App& verb, RuleContent::Switch& flags, bool forSet, const std::string& on,
               const std::string& off, const std::string& onHelp, const std::string& offHelp) {
    if (!on.empty())
        flags.on = Flag(verb, on, onHelp);
    if (forSet || on.empty())
        flags.off = Flag(verb, off, offHelp);
    if (flags.on && flags.off)
        flags.on->excludes(flags.off);
}

void AddConditionOptions(CLI::App& verb, RuleContent& c, bool forSet) {
    const std::vector<std::string> sides = {"public", "private"};
    verb.add_option("--source", c.sources,
                    "Source entry: address, network, range, domain name, interface:NAME, "
                    "vpn-node:N, vpn-network:N, vpn-name:T, @\"object\" or a system object");
    verb.add_option("--source-object", c.sourceObjects, "Source named object, by name");
    verb.add_option("--exclude-source", c.excludedSources,
                    "Refused: a rule's source lists no exclusions (an ip object's can)");
    verb.add_option("--source-side", c.sourceSide,
                    "Whether the source is the public or the private (VPN) side")
        ->check(CLI::IsMember(sides));
    verb.add_option("--destination", c.destinations, "Destination entry, as --source");
    verb.add_option("--destination-object", c.destinationObjects,
                    "Destination named object, by name");
    verb.add_option("--exclude-destination", c.excludedDestinations,
                    "Refused: a rule's destination lists no exclusions (an ip object's can)");
    verb.add_option("--destination-side", c.destinationSide,
                    "As --source-side, for the destination")
        ->check(CLI::IsMember(sides));
    verb.add_option("--service", c.services,
                    "Service: tcp/22, udp/1024-65535, tcp/any:22, icmp/echo-request, icmp/8/0, "
                    "proto/47, gre, @\"object\" or a system object");
    verb.add_option("--service-object", c.serviceObjects, "Service named object, by name");
    verb.add_option("--schedule", c.schedules,
                    "Schedule: 'daily 08:00-18:00', 'weekly mon-fri 07:00-20:00', "
                    "'calendar 2026-12-24T00:00/2026-12-26T23:59', @\"object\" or a system object");
    verb.add_option("--schedule-object", c.scheduleObjects, "Schedule named object, by name");
    if (!forSet)
        return;
    verb.add_flag("--clear-source", c.clearSource, "Remove the source before adding entries");
    verb.add_flag("--clear-destination", c.clearDestination, "Remove the destination first");
    verb.add_flag("--clear-services", c.clearServices, "Remove every service first");
    verb.add_flag("--clear-schedules", c.clearSchedules, "Remove every schedule first");
    verb.add_flag("--clear-translation", c.clearTranslation,
                  "Remove the translated addresses and port first (nat rules)");
}

void AddActionOptions(CLI::App& verb, RuleContent& c, bool forSet) {
    if (forSet)
        verb.add_option("--action", c.action, "What a filter rule does")
            ->check(CLI::IsMember({"pass", "drop"}));
    AddSwitch(verb, c.stateless, forSet, "--stateless", "--stateful",
              "Handle connections without state", "Handle connections with state");
    AddSwitch(verb, c.packetLog, forSet, "", "--no-packet-log", "", "Do not log packets");
    if (forSet)
        c.packetLog.on = Flag(verb, "--packet-log", "Log packets");
    AddSwitch(verb, c.connectionLog, forSet, "", "--no-connection-log", "",
              "Do not log connections");
    if (forSet)
        c.connectionLog.on = Flag(verb, "--connection-log", "Log connections");
    AddSwitch(verb, c.bothWays, forSet, "--both-ways", "--one-way",
              "The rule applies in both directions", "The rule applies in one direction");
    verb.add_option("--translate-source", c.translateSource, "NAT: translated source address");
    verb.add_option("--translate-destination", c.translateDestination,
                    "NAT: translated destination address");
    verb.add_option("--translate-port", c.translatePort, "NAT: translated destination port");
    AddSwitch(verb, c.outboundInterface, forSet, "--to-outbound-interface",
              "--not-to-outbound-interface",
              "NAT: translate into the address of the outbound interface",
              "NAT: do not translate into the outbound interface's address");
    AddSwitch(verb, c.active, forSet, "", "--disabled", "", "The rule is not in force");
    if (forSet)
        c.active.on = Flag(verb, "--enabled", "The rule is in force");
}

// The switch's new value, when one of its flags was given.
std::optional<bool> SwitchValue(const RuleContent::Switch& flags) {
    if (flags.on && flags.on->count() > 0)
        return true;
    if (flags.off && flags.off->count() > 0)
        return false;
    return std::nullopt;
}

std::optional<NetworkSide> SideOption(const std::string& side) {
    if (side.empty())
        return std::nullopt;
    return side == "private" ? NetworkSide::kPrivate : NetworkSide::kPublic;
}

template <typename Parse>
auto ForOption(const std::string& option, Parse parse) {
    try {
        return parse();
    } catch (const EditError& e) {
        throw EditError(option + ": " + e.what());
    }
}

std::vector<HostTerm> Terms(const std::string& option, const std::vector<std::string>& entries,
                            const std::vector<std::string>& objectNames) {
    std::vector<HostTerm> terms;
    for (const std::string& entry : entries)
        terms.push_back(ForOption(option, [&] { return ParseHostEntry(entry); }));
    for (const std::string& name : objectNames) {
        HostTerm term;
        term.kind = HostTerm::Kind::ObjectReference;
        term.name = name;
        terms.push_back(term);
    }
    return terms;
}

// Adds the entries of extra to side, which must be of the same kind.
void MergeSide(Sarvo::NetworkCondition& side, std::unique_ptr<Sarvo::NetworkCondition> extra,
               const std::string& option) {
    auto* publicSide = dynamic_cast<Sarvo::PublicNetwork*>(&side);
    auto* extraPublic = dynamic_cast<Sarvo::PublicNetwork*>(extra.get());
    auto* privateSide = dynamic_cast<Sarvo::PrivateNetwork*>(&side);
    auto* extraPrivate = dynamic_cast<Sarvo::PrivateNetwork*>(extra.get());
    if (publicSide && extraPublic) {
        if (extraPublic->InterfaceCondition() && publicSide->InterfaceCondition())
            throw EditError(option + ": the side names an interface already; give --clear-" +
                            option.substr(2) + " to replace it");
        if (extraPublic->InterfaceCondition())
            publicSide->InterfaceCondition(extraPublic->InterfaceCondition().get());
        for (const auto& host : extraPublic->IpHostCondition())
            AppendOnce(*publicSide, IpHostsOf, host);
        return;
    }
    if (privateSide && extraPrivate) {
        for (const auto& host : extraPrivate->VpnHostCondition())
            AppendOnce(*privateSide, VpnHostsOf, host);
        return;
    }
    throw EditError(option + ": the rule's " + option.substr(2) + " is the " +
                    (privateSide ? "private" : "public") + " side; give --clear-" +
                    option.substr(2) + " to replace it");
}

template <typename Side>
void ApplySide(Side& sideHolder, bool clear, const std::string& option,
               const std::vector<HostTerm>& terms, const std::string& sideName,
               const ObjectDirectory& objects) {
    if (clear)
        sideHolder.reset();
    if (terms.empty() && sideName.empty())
        return;
    auto element =
        ForOption(option, [&] { return NetworkElement(terms, SideOption(sideName), objects); });
    if (sideHolder)
        MergeSide(*sideHolder, std::move(element), option);
    else
        sideHolder.set(std::move(element));
}

void ApplyConditions(Sarvo::ConditionSet& set, const RuleContent& c, const ObjectDirectory& objects,
                     const textforms::ProtocolNames& names) {
    ApplySide(set.Source(), c.clearSource, "--source",
              Terms("--source", c.sources, c.sourceObjects), c.sourceSide, objects);
    ApplySide(set.Destination(), c.clearDestination, "--destination",
              Terms("--destination", c.destinations, c.destinationObjects), c.destinationSide,
              objects);
    if (c.clearServices)
        set.ServiceCondition().clear();
    for (const std::string& service : c.services)
        AppendOnce(set, ServicesOf,
                   ForOption("--service", [&] { return ServiceElement(service, names, objects); }));
    for (const std::string& name : c.serviceObjects)
        AppendOnce(set, ServicesOf, ForOption("--service-object", [&] {
                       return std::make_unique<Sarvo::ServiceObjectRef>(
                           objects.Find(name, {fwcommon::eServiceObject}).id);
                   }));
    if (c.clearSchedules)
        set.ScheduleCondition().clear();
    for (const std::string& schedule : c.schedules)
        AppendOnce(set, SchedulesOf,
                   ForOption("--schedule", [&] { return ScheduleElement(schedule, objects); }));
    for (const std::string& name : c.scheduleObjects)
        AppendOnce(set, SchedulesOf, ForOption("--schedule-object", [&] {
                       return std::make_unique<Sarvo::ScheduleObjectRef>(
                           objects.Find(name, {fwcommon::eScheduleObject}).id);
                   }));
}

bool GivesFilterSettings(const RuleContent& c) {
    return !c.action.empty() || SwitchValue(c.stateless) || SwitchValue(c.packetLog) ||
           SwitchValue(c.connectionLog) || SwitchValue(c.bothWays);
}

bool GivesTranslation(const RuleContent& c) {
    return !c.translateSource.empty() || !c.translateDestination.empty() ||
           !c.translatePort.empty() || SwitchValue(c.outboundInterface) || c.clearTranslation;
}

Sarvo::Filter& FilterOf(Sarvo::Rule& rule) {
    if (auto* filter = dynamic_cast<Sarvo::Filter*>(&rule.Action()))
        return *filter;
    rule.Action(std::make_unique<Sarvo::Filter>(Sarvo::ActionTypes::Pass));
    return dynamic_cast<Sarvo::Filter&>(rule.Action());
}

Sarvo::Translation& TranslationOf(Sarvo::Rule& rule) {
    if (auto* translation = dynamic_cast<Sarvo::Translation*>(&rule.Action()))
        return *translation;
    rule.Action(std::make_unique<Sarvo::Translation>());
    return dynamic_cast<Sarvo::Translation&>(rule.Action());
}

void ApplyFilter(Sarvo::Filter& filter, const RuleContent& c) {
    if (!c.action.empty())
        filter.FilteringAction(c.action == "drop" ? Sarvo::ActionTypes::Drop
                                                  : Sarvo::ActionTypes::Pass);
    if (const auto value = SwitchValue(c.stateless))
        filter.IsConnectionStateless(*value);
    if (const auto value = SwitchValue(c.packetLog))
        filter.IsPacketLoggingEnabled(*value);
    if (const auto value = SwitchValue(c.connectionLog))
        filter.IsConnectionLoggingEnabled(*value);
    if (const auto value = SwitchValue(c.bothWays))
        filter.IsBidirectional(*value);
}

void ApplyTranslation(Sarvo::Translation& translation, const RuleContent& c) {
    if (c.clearTranslation) {
        translation.SourceIp().reset();
        translation.DestinationIp().reset();
        translation.DestinationPort().reset();
    }
    if (!c.translateSource.empty())
        translation.SourceIp(
            ForOption("--translate-source", [&] { return AddressElement(c.translateSource); }));
    if (!c.translateDestination.empty())
        translation.DestinationIp(ForOption(
            "--translate-destination", [&] { return AddressElement(c.translateDestination); }));
    if (!c.translatePort.empty()) {
        const auto port = textforms::DecimalNumber(c.translatePort, kMaxPort);
        if (!port)
            throw EditError("--translate-port: '" + c.translatePort +
                            "' is not a port number from 0 to 65535");
        translation.DestinationPort(Sarvo::Port(static_cast<long long>(*port)));
    }
    if (const auto value = SwitchValue(c.outboundInterface))
        translation.IsTranslatedIntoOutboundInterface(*value);
}

EditError NoExclusions(const std::string& side) {
    return EditError("--exclude-" + side + ": a rule's " + side +
                     " lists no exclusions; put the hosts to leave out in the exclusions of an "
                     "ip object and give that object with --" +
                     side + "-object");
}

void ApplyAction(Sarvo::Rule& rule, const RuleContent& c, bool nat) {
    if (nat)
        ApplyTranslation(TranslationOf(rule), c);
    else if (GivesFilterSettings(c))
        ApplyFilter(FilterOf(rule), c);
}

// Whether text names an object (@"Name") or a system object, which only
// the document can tell apart from a typing error.
bool NamesAnObject(const std::string& text) {
    return Parsed([&] { return textforms::ParseObjectReference(text); }) ||
           textforms::SystemObjectOfName(text);
}

void CheckTextForms(const RuleContent& c, const textforms::ProtocolNames& names) {
    Terms("--source", c.sources, {});
    Terms("--destination", c.destinations, {});
    for (const std::string& service : c.services) {
        if (!NamesAnObject(service))
            ForOption("--service", [&] {
                return Parsed([&] { return textforms::ParseService(service, names); });
            });
    }
    for (const std::string& schedule : c.schedules) {
        if (!NamesAnObject(schedule))
            ForOption("--schedule",
                      [&] { return Parsed([&] { return textforms::ParseSchedule(schedule); }); });
    }
    if (!c.translateSource.empty())
        ForOption("--translate-source", [&] { return AddressElement(c.translateSource); });
    if (!c.translateDestination.empty())
        ForOption("--translate-destination",
                  [&] { return AddressElement(c.translateDestination); });
    if (!c.translatePort.empty() && !textforms::DecimalNumber(c.translatePort, kMaxPort))
        throw EditError("--translate-port: '" + c.translatePort +
                        "' is not a port number from 0 to 65535");
}

}  // namespace

void AddRuleContentOptions(CLI::App& verb, RuleContent& content, bool forSet) {
    if (forSet)
        content.nameOption = verb.add_option("--name", content.name, "New name of the rule");
    AddConditionOptions(verb, content, forSet);
    AddActionOptions(verb, content, forSet);
}

bool GivesConditions(const RuleContent& c) {
    return !c.sources.empty() || !c.destinations.empty() || !c.services.empty() ||
           !c.schedules.empty() || !c.sourceObjects.empty() || !c.destinationObjects.empty() ||
           !c.serviceObjects.empty() || !c.scheduleObjects.empty();
}

bool GivesChanges(const RuleContent& c) {
    const bool named = c.nameOption && c.nameOption->count() > 0;
    return named || GivesConditions(c) || !c.sourceSide.empty() || !c.destinationSide.empty() ||
           c.clearSource || c.clearDestination || c.clearServices || c.clearSchedules ||
           GivesFilterSettings(c) || GivesTranslation(c) || SwitchValue(c.active) ||
           !c.excludedSources.empty() || !c.excludedDestinations.empty();
}

std::string ChangedParts(const RuleContent& c) {
    const bool named = c.nameOption && c.nameOption->count() > 0;
    const std::pair<bool, const char*> parts[] = {
        {named, "name"},
        {c.clearSource || !c.sources.empty() || !c.sourceObjects.empty() || !c.sourceSide.empty(),
         "source"},
        {c.clearDestination || !c.destinations.empty() || !c.destinationObjects.empty() ||
             !c.destinationSide.empty(),
         "destination"},
        {c.clearServices || !c.services.empty() || !c.serviceObjects.empty(), "services"},
        {c.clearSchedules || !c.schedules.empty() || !c.scheduleObjects.empty(), "schedules"},
        {GivesFilterSettings(c), "action"},
        {GivesTranslation(c), "translation"},
        {SwitchValue(c.active).has_value(), "active"},
    };
    std::string list;
    for (const auto& [given, part] : parts) {
        if (given)
            list += (list.empty() ? "" : ", ") + std::string(part);
    }
    return list;
}

void CheckRuleContent(const RuleContent& c, bool nat) {
    if (c.nameOption && c.nameOption->count() > 0 && c.name.empty())
        throw EditError("a rule needs a non-empty name");
    if (!c.excludedSources.empty())
        throw NoExclusions("source");
    if (!c.excludedDestinations.empty())
        throw NoExclusions("destination");
    if (nat && GivesFilterSettings(c))
        throw EditError(
            "nat rules translate; --action, --stateless and the log and direction "
            "flags belong to filter rules");
    if (!nat && GivesTranslation(c))
        throw EditError(
            "only nat rules translate; the --translate-... and outbound-interface "
            "options belong to them");
}

void CheckRuleContentArguments(const RuleContent& content, std::optional<bool> nat) {
    try {
        if (nat)
            CheckRuleContent(content, *nat);
        LoadDictionaries();
        CheckTextForms(content, textforms::ProtocolNames::FromDictionary());
    } catch (const EditError& e) {
        throw CLI::ValidationError(e.what());
    }
}

void FillNewRule(fwcommon::Context& context, const std::wstring& dataname,
                 const std::shared_ptr<fwcommon::IRule>& rule, const RuleContent& content,
                 bool nat) {
    LoadDictionaries();
    ApplyRuleContent(*rule->GetXmlRule(), content, nat, ObjectDirectory(context, dataname),
                     textforms::ProtocolNames::FromDictionary());
    if (!context.UpdateRule(dataname, rule))
        throw EditError("the new rule's conditions could not be stored");
}

void ApplyRuleContent(Sarvo::Rule& rule, const RuleContent& c, bool nat,
                      const ObjectDirectory& objects, const textforms::ProtocolNames& names) {
    CheckRuleContent(c, nat);
    if (!c.name.empty())
        rule.Name(FromUtf8(c.name));
    ApplyConditions(rule.ConditionSet(), c, objects, names);
    ApplyAction(rule, c, nat);
    if (const auto value = SwitchValue(c.active))
        rule.IsActive(*value);
}

}  // namespace fwpolicy
