#include "ElementFields.h"

#include <memory>

#include "policy/CreationTypeNames.h"
#include "policy/RuleSection.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// What an empty list of rule conditions means (anything), and an empty
// list of an object's entries.
const char* const kAnything = "*";
const char* const kOtherAttributes = " (attributes the tool does not show differ)";

// Adds a change of a free text (a name, a value) when the texts differ.
void AddText(FieldChanges& out, const std::string& field, const std::wstring& before,
             const std::wstring& after) {
    if (before != after)
        out.push_back({field, ToUtf8(before), ToUtf8(after), true});
}

std::string Joined(const std::vector<std::string>& entries, const char* empty) {
    if (entries.empty())
        return empty;
    std::string text;
    for (const std::string& entry : entries)
        text += (text.empty() ? "" : ", ") + entry;
    return text;
}

// Adds a change when the values differ; before and after are their texts.
void Add(FieldChanges& out, const std::string& field, const std::string& before,
         const std::string& after) {
    if (before != after)
        out.push_back({field, before, after});
}

// Adds a change of a part whose elements differ (equal says whether they
// do): its texts, or, when the texts agree, the note that what differs is
// not shown.
void AddPart(FieldChanges& out, bool equal, const std::string& field, const std::string& before,
             const std::string& after) {
    if (equal)
        return;
    out.push_back({field, before, before == after ? after + kOtherAttributes : after});
}

template <typename Optional>
std::string OptionalText(const Optional& value) {
    if (!value)
        return kNoValue;
    if constexpr (std::is_same_v<std::decay_t<decltype(*value)>, bool>)
        return YesNo(*value);
    else
        return ToUtf8(*value);
}

std::vector<std::string> SideEntries(const Sarvo::ConditionSet::Source_optional& side,
                                     const ConditionText& words) {
    return side ? words.SideEntries(*side) : std::vector<std::string>();
}

template <typename Sequence, typename Render>
std::vector<std::string> Entries(const Sequence& conditions, Render render) {
    std::vector<std::string> entries;
    for (const auto& condition : conditions)
        entries.push_back(render(condition));
    return entries;
}

// Whether a stays equal when assign gives it one part of the other
// element: then that part is the same in both. (The comparison of whole
// elements looks at the actual type of every condition; comparing the
// parts on their own would look at their declared base types only.)
template <typename Element, typename Assign>
bool SamePart(const Element& a, Assign assign) {
    const std::unique_ptr<Element> copy(a._clone());
    assign(*copy);
    return *copy == a;
}

void AddConditions(FieldChanges& out, const Sarvo::Rule& ra, const Sarvo::Rule& rb,
                   const ConditionText& wa, const ConditionText& wb) {
    const Sarvo::ConditionSet& a = ra.ConditionSet();
    const Sarvo::ConditionSet& b = rb.ConditionSet();
    const auto same = [&ra](auto assign) {
        return SamePart(ra, [&assign](Sarvo::Rule& r) { assign(r.ConditionSet()); });
    };
    AddPart(out, same([&b](Sarvo::ConditionSet& c) { c.Source(b.Source()); }), "source",
            Joined(SideEntries(a.Source(), wa), kAnything),
            Joined(SideEntries(b.Source(), wb), kAnything));
    AddPart(out, same([&b](Sarvo::ConditionSet& c) { c.Destination(b.Destination()); }),
            "destination", Joined(SideEntries(a.Destination(), wa), kAnything),
            Joined(SideEntries(b.Destination(), wb), kAnything));
    const auto service = [](const ConditionText& w) {
        return [&w](const Sarvo::ServiceCondition& s) { return w.Service(s); };
    };
    AddPart(out, same([&b](Sarvo::ConditionSet& c) { c.ServiceCondition(b.ServiceCondition()); }),
            "services", Joined(Entries(a.ServiceCondition(), service(wa)), kAnything),
            Joined(Entries(b.ServiceCondition(), service(wb)), kAnything));
    const auto schedule = [](const ConditionText& w) {
        return [&w](const Sarvo::ScheduleCondition& s) { return w.Schedule(s); };
    };
    AddPart(out, same([&b](Sarvo::ConditionSet& c) { c.ScheduleCondition(b.ScheduleCondition()); }),
            "schedules", Joined(Entries(a.ScheduleCondition(), schedule(wa)), kAnything),
            Joined(Entries(b.ScheduleCondition(), schedule(wb)), kAnything));
}

std::string ActionWord(const Sarvo::Filter& filter) {
    return filter.FilteringAction() == Sarvo::ActionTypes::Pass ? "pass" : "drop";
}

void AddFilter(FieldChanges& out, const Sarvo::Filter& a, const Sarvo::Filter& b) {
    Add(out, "action", ActionWord(a), ActionWord(b));
    Add(out, "stateless", YesNo(a.IsConnectionStateless()), YesNo(b.IsConnectionStateless()));
    Add(out, "packet-log", YesNo(a.IsPacketLoggingEnabled()), YesNo(b.IsPacketLoggingEnabled()));
    Add(out, "connection-log", YesNo(a.IsConnectionLoggingEnabled()),
        YesNo(b.IsConnectionLoggingEnabled()));
    Add(out, "both-ways", YesNo(a.IsBidirectional()), YesNo(b.IsBidirectional()));
}

std::string AddressText(const Sarvo::Translation::SourceIp_optional& address) {
    return address ? ToUtf8(address->Value()) : kNoValue;
}

std::string PortText(const Sarvo::Translation::DestinationPort_optional& port) {
    return port ? std::to_string(port->Value()) : kNoValue;
}

void AddTranslation(FieldChanges& out, const Sarvo::Translation& a, const Sarvo::Translation& b) {
    AddPart(out, a.SourceIp() == b.SourceIp(), "translate-source", AddressText(a.SourceIp()),
            AddressText(b.SourceIp()));
    AddPart(out, a.DestinationIp() == b.DestinationIp(), "translate-destination",
            AddressText(a.DestinationIp()), AddressText(b.DestinationIp()));
    AddPart(out, a.DestinationPort() == b.DestinationPort(), "translate-port",
            PortText(a.DestinationPort()), PortText(b.DestinationPort()));
    Add(out, "to-outbound-interface", YesNo(a.IsTranslatedIntoOutboundInterface()),
        YesNo(b.IsTranslatedIntoOutboundInterface()));
}

void AddAction(FieldChanges& out, const Sarvo::Rule& ra, const Sarvo::Rule& rb) {
    const Sarvo::Action& a = ra.Action();
    const Sarvo::Action& b = rb.Action();
    const auto* filterA = dynamic_cast<const Sarvo::Filter*>(&a);
    const auto* filterB = dynamic_cast<const Sarvo::Filter*>(&b);
    const auto* natA = dynamic_cast<const Sarvo::Translation*>(&a);
    const auto* natB = dynamic_cast<const Sarvo::Translation*>(&b);
    if (filterA && filterB)
        AddFilter(out, *filterA, *filterB);
    else if (natA && natB)
        AddTranslation(out, *natA, *natB);
    else
        AddPart(out, SamePart(ra, [&b](Sarvo::Rule& r) { r.Action(b); }), "action",
                ToUtf8(ActionWords(a)), ToUtf8(ActionWords(b)));
}

// Whether the rules differ in more than the fields compared (and the
// order id, which counts by the position it gives).
bool DifferBeyond(const Sarvo::Rule& a, const Sarvo::Rule& b) {
    const std::unique_ptr<Sarvo::Rule> rest(b._clone());
    rest->RuleId(a.RuleId());
    rest->OrderId(a.OrderId());
    rest->Name(a.Name());
    rest->IsActive(a.IsActive());
    rest->ConditionSet(a.ConditionSet());
    rest->Action(a.Action());
    rest->Reserved1(a.Reserved1());
    rest->Reserved2(a.Reserved2());
    rest->Reserved3(a.Reserved3());
    return !(*rest == a);
}

template <typename Object, typename Render>
void AddEntries(FieldChanges& out, const Object& a, const Object& b, Render render,
                const ConditionText& wa, const ConditionText& wb) {
    const auto with = [&render](const ConditionText& w) {
        return [&render, &w](const auto& entry) { return render(w, entry); };
    };
    AddPart(out, SamePart(a, [&b](Object& o) { o.Inclusion(b.Inclusion()); }), "inclusions",
            Joined(Entries(a.Inclusion(), with(wa)), kNoValue),
            Joined(Entries(b.Inclusion(), with(wb)), kNoValue));
    AddPart(out, SamePart(a, [&b](Object& o) { o.Exclusion(b.Exclusion()); }), "exclusions",
            Joined(Entries(a.Exclusion(), with(wa)), kNoValue),
            Joined(Entries(b.Exclusion(), with(wb)), kNoValue));
}

// Adds the entry changes when both objects are of kind Object; true when
// they are.
template <typename Object, typename Render>
bool AddEntriesOf(FieldChanges& out, const Sarvo::NamedObject& a, const Sarvo::NamedObject& b,
                  Render render, const ConditionText& wa, const ConditionText& wb) {
    const auto* objectA = dynamic_cast<const Object*>(&a);
    const auto* objectB = dynamic_cast<const Object*>(&b);
    if (objectA == nullptr || objectB == nullptr)
        return false;
    AddEntries(out, *objectA, *objectB, render, wa, wb);
    return true;
}

void AddObjectEntries(FieldChanges& out, const Sarvo::NamedObject& a, const Sarvo::NamedObject& b,
                      const ConditionText& wa, const ConditionText& wb) {
    using W = const ConditionText&;
    AddEntriesOf<Sarvo::IpObject>(
        out, a, b, [](W w, const Sarvo::IpHostCondition& e) { return w.IpHost(e); }, wa, wb) ||
        AddEntriesOf<Sarvo::InterfaceObject>(
            out, a, b, [](W w, const Sarvo::InterfaceCondition& e) { return w.Interface(e); }, wa,
            wb) ||
        AddEntriesOf<Sarvo::VpnObject>(
            out, a, b, [](W w, const Sarvo::VpnHostCondition& e) { return w.VpnHost(e); }, wa,
            wb) ||
        AddEntriesOf<Sarvo::ServiceObject>(
            out, a, b, [](W w, const Sarvo::ServiceCondition& e) { return w.Service(e); }, wa,
            wb) ||
        AddEntriesOf<Sarvo::ScheduleObject>(
            out, a, b, [](W w, const Sarvo::ScheduleCondition& e) { return w.Schedule(e); }, wa,
            wb);
}

}  // namespace

std::string CreationTypeWord(const Sarvo::CreationTypes& type) {
    const auto& names = CreationTypeNames();
    const auto value = static_cast<std::size_t>(type);
    return value < names.size() ? names[value] : ToUtf8(type);
}

FieldChanges RuleFieldChanges(const Sarvo::Rule& a, const Sarvo::Rule& b, const ConditionText& wa,
                              const ConditionText& wb) {
    FieldChanges out;
    if (a == b && SectionOfRule(a) == SectionOfRule(b))
        return out;
    Add(out, "section", SectionOfRule(a), SectionOfRule(b));
    Add(out, "id", std::to_string(a.RuleId()), std::to_string(b.RuleId()));
    AddText(out, "name", a.Name(), b.Name());
    Add(out, "active", YesNo(a.IsActive()), YesNo(b.IsActive()));
    AddAction(out, a, b);
    AddConditions(out, a, b, wa, wb);
    Add(out, "Reserved1", OptionalText(a.Reserved1()), OptionalText(b.Reserved1()));
    Add(out, "Reserved2", OptionalText(a.Reserved2()), OptionalText(b.Reserved2()));
    Add(out, "Reserved3", OptionalText(a.Reserved3()), OptionalText(b.Reserved3()));
    if (DifferBeyond(a, b))
        out.push_back({"other fields", "(not shown)", "(not shown, changed)"});
    return out;
}

FieldChanges ObjectFieldChanges(const Sarvo::NamedObject& a, const Sarvo::NamedObject& b,
                                const ConditionText& wa, const ConditionText& wb) {
    FieldChanges out;
    AddText(out, "name", a.Name(), b.Name());
    Add(out, "creation type", CreationTypeWord(a.CreationType()),
        CreationTypeWord(b.CreationType()));
    AddObjectEntries(out, a, b, wa, wb);
    Add(out, "Reserved", OptionalText(a.Reserved()), OptionalText(b.Reserved()));
    return out;
}

FieldChanges OptionFieldChanges(const Sarvo::Option& a, const Sarvo::Option& b) {
    FieldChanges out;
    AddText(out, "value", a.Value(), b.Value());
    Add(out, "TargetApplication", OptionalText(a.TargetApplication()),
        OptionalText(b.TargetApplication()));
    Add(out, "TargetPlatform", OptionalText(a.TargetPlatform()), OptionalText(b.TargetPlatform()));
    Add(out, "Reserved", OptionalText(a.Reserved()), OptionalText(b.Reserved()));
    return out;
}

}  // namespace fwpolicy
