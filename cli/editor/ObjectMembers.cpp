#include "ObjectMembers.h"

#include <limits>

#include <fwcommon/ISarvoGroupNamedObject.h>
#include <fwcommon/IScheduleNamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IinterfaceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>

#include "HostTerms.h"
#include "ObjectDirectory.h"
#include "ParsedTextForm.h"
#include "References.h"
#include "Schedules.h"
#include "Services.h"
#include "editor/PolicyEdit.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::INamedItem;
using fwcommon::INamedObject;
using textforms::AddressBlock;
using textforms::HostTerm;

constexpr std::int32_t kAbsent = -1;  // a port, ICMP type or code the item leaves open
constexpr long long kMaxItemNumber = std::numeric_limits<std::uint32_t>::max();
// The item kinds of INamedItem::GetItemKind.
constexpr std::int32_t kSystemObjectItem = 0;
constexpr std::int32_t kNamedObjectItem = 1;

EditError CannotStand(const std::string& entry, const INamedObject& object) {
    return EditError("'" + entry + "' cannot stand in " +
                     ObjectKindPhrase(object.GetNamedObjectType()));
}

Member ItemMember(std::shared_ptr<fwcommon::INamedObjectElement> item, const std::string& entry) {
    Member member;
    member.item = std::move(item);
    member.text = entry;
    return member;
}

Member SystemMember(fwcommon::SystemObjectTypes type, const std::string& entry) {
    Member member;
    member.kind = Member::Kind::kSystemObject;
    member.systemObject = type;
    member.text = entry;
    return member;
}

std::shared_ptr<fwcommon::INamedObjectElement> AddressItem(fwcommon::IipAddressNamedObject& object,
                                                           const AddressBlock& block) {
    switch (block.kind) {
        case AddressBlock::Kind::Host:
            return object.CreateAddressElement(FromUtf8(block.first.text));
        case AddressBlock::Kind::Network:
            return object.CreateMaskElement(FromUtf8(block.first.text), FromUtf8(block.MaskText()));
        case AddressBlock::Kind::Range:
            break;
    }
    return object.CreateRangeElement(FromUtf8(block.first.text), FromUtf8(block.last.text));
}

std::uint32_t ItemNumber(long long number, const std::string& entry) {
    if (number < 0 || number > kMaxItemNumber)
        throw EditError("'" + entry + "': a named object holds VPN numbers up to " +
                        std::to_string(kMaxItemNumber));
    return static_cast<std::uint32_t>(number);
}

std::pair<std::int32_t, std::int32_t> PortItem(const std::optional<textforms::PortSpan>& span) {
    if (!span)
        return {kAbsent, kAbsent};
    if (!span->range)
        return {static_cast<std::int32_t>(span->first), kAbsent};
    return {static_cast<std::int32_t>(span->first), static_cast<std::int32_t>(span->last)};
}

void CheckMinutes(const textforms::ClockTime& time, const std::string& entry) {
    if (time.second != 0)
        throw EditError("'" + entry +
                        "': a named schedule object keeps hours and minutes, not seconds");
}

std::int32_t DaySet(const std::array<bool, 7>& days) {
    std::int32_t set = 0;
    for (std::size_t day = 0; day < days.size(); ++day) {
        if (days[day])
            set |= 1 << day;
    }
    return set;
}

bool SameObject(const INamedObject& a, const INamedObject& b) {
    return a.GetIdentifier() == b.GetIdentifier() &&
           a.GetNamedObjectType() == b.GetNamedObjectType() &&
           a.GetCreationType() == b.GetCreationType();
}

bool Matches(const std::shared_ptr<INamedItem>& entry, const Member& member) {
    switch (member.kind) {
        case Member::Kind::kItem:
            return member.item->IsEqual(entry);
        case Member::Kind::kObject: {
            const auto object = std::dynamic_pointer_cast<INamedObject>(entry);
            return entry->GetItemKind() == kNamedObjectItem && object &&
                   SameObject(*object, *member.object);
        }
        case Member::Kind::kSystemObject:
            break;
    }
    return entry->GetItemKind() == kSystemObjectItem &&
           entry->GetName() == FromUtf8(textforms::SystemObjectName(member.systemObject));
}

std::shared_ptr<fwcommon::NamedItemList> Entries(const INamedObject& object, MemberList list) {
    return list == MemberList::kInclusions ? object.GetInclusions() : object.GetExclusions();
}

// Puts an entry the object held back into its list.
bool Restore(INamedObject& object, std::uint32_t list, const std::shared_ptr<INamedItem>& entry) {
    if (entry->GetItemKind() == kSystemObjectItem) {
        const auto type = textforms::SystemObjectOfName(ToUtf8(entry->GetName()));
        return type && object.AddSystemObject(list, *type);
    }
    if (const auto named = std::dynamic_pointer_cast<INamedObject>(entry))
        return object.AddNamedObject(list, named);
    const auto item = std::dynamic_pointer_cast<fwcommon::INamedObjectElement>(entry);
    return item && object.AddElement(list, item);
}

}  // namespace

fwcommon::NamedObjectType ObjectKindOfWord(const std::string& word) {
    for (const auto type :
         {fwcommon::eInterfaceObject, fwcommon::eIpAddressObject, fwcommon::eServiceObject,
          fwcommon::eScheduleObject, fwcommon::eSarvoGroupObject}) {
        if (ObjectKindWord(type) == word)
            return type;
    }
    throw EditError("unknown object kind '" + word + "'");
}

void CheckEntryText(fwcommon::NamedObjectType type, const std::string& entry,
                    const textforms::ProtocolNames& names) {
    const bool service = type == fwcommon::eServiceObject;
    if (service || type == fwcommon::eScheduleObject) {
        if (Parsed([&] { return textforms::ParseObjectReference(entry); }) ||
            textforms::SystemObjectOfName(entry))
            return;
        if (service) {
            Parsed([&] { return textforms::ParseService(entry, names); });
            return;
        }
        const auto schedule = Parsed([&] { return textforms::ParseSchedule(entry); });
        CheckMinutes(schedule.start, entry);
        CheckMinutes(schedule.end, entry);
        return;
    }
    Parsed([&] { return textforms::ParseHostTerm(entry); });
}

ObjectMembers::ObjectMembers(fwcommon::Context& context, const std::wstring& dataname,
                             std::shared_ptr<INamedObject> object,
                             const textforms::ProtocolNames& names)
    : context_(context), dataname_(dataname), object_(std::move(object)), names_(names) {}

Member ObjectMembers::ObjectMember(const std::string& entry, const std::string& name) const {
    const ObjectTarget target =
        ObjectDirectory(context_, dataname_).Find(name, {object_->GetNamedObjectType()});
    const auto objects = context_.GetNamedObjects(dataname_, target.type);
    for (const auto& object : *objects) {
        const INamedObject& kept = *object;
        if (static_cast<int>(kept.GetIdentifier()) == target.id && ToUtf8(kept.GetName()) == name) {
            Member member;
            member.kind = Member::Kind::kObject;
            member.object = object;
            member.text = entry;
            return member;
        }
    }
    throw EditError("no named object \"" + name + "\"");
}

Member ObjectMembers::HostMember(const std::string& entry) const {
    const HostTerm term = Parsed([&] { return textforms::ParseHostTerm(entry); });
    const fwcommon::NamedObjectType type = object_->GetNamedObjectType();
    if (term.kind == HostTerm::Kind::ObjectReference)
        return ObjectMember(entry, term.name);
    if (term.kind == HostTerm::Kind::SystemObject ||
        (term.kind == HostTerm::Kind::InterfaceSystemObject && type == fwcommon::eInterfaceObject))
        return SystemMember(term.systemObject, entry);
    if (type == fwcommon::eSarvoGroupObject) {
        auto& vpn = dynamic_cast<fwcommon::ISarvoGroupNamedObject&>(*object_);
        if (term.kind == HostTerm::Kind::VpnNode)
            return ItemMember(vpn.CreateNodeElement(ItemNumber(term.number, entry)), entry);
        if (term.kind == HostTerm::Kind::VpnNetwork)
            return ItemMember(vpn.CreateNetworkElement(ItemNumber(term.number, entry)), entry);
        if (term.kind == HostTerm::Kind::VpnNameTemplate)
            return ItemMember(vpn.CreateTemplateElement(FromUtf8(term.name)), entry);
        throw CannotStand(entry, *object_);
    }
    auto& ip = dynamic_cast<fwcommon::IipAddressNamedObject&>(*object_);
    if (type == fwcommon::eInterfaceObject) {
        auto& interfaces = dynamic_cast<fwcommon::IinterfaceNamedObject&>(*object_);
        if (term.kind == HostTerm::Kind::Interface)
            return ItemMember(interfaces.CreateInterfaceElement(FromUtf8(term.name)), entry);
        if (term.kind == HostTerm::Kind::InterfaceAddress || term.kind == HostTerm::Kind::Address)
            return ItemMember(AddressItem(ip, term.address), entry);
        throw CannotStand(entry, *object_);
    }
    if (term.kind == HostTerm::Kind::Address)
        return ItemMember(AddressItem(ip, term.address), entry);
    if (term.kind == HostTerm::Kind::DomainName)
        return ItemMember(ip.CreateTextElement(FromUtf8(term.name)), entry);
    throw CannotStand(entry, *object_);
}

Member ObjectMembers::ServiceMember(const std::string& entry) const {
    if (const auto name = Parsed([&] { return textforms::ParseObjectReference(entry); }))
        return ObjectMember(entry, *name);
    if (const auto type = textforms::SystemObjectOfName(entry))
        return SystemMember(*type, entry);
    const auto service = Parsed([&] { return textforms::ParseService(entry, names_); });
    auto& object = dynamic_cast<fwcommon::IServiceNamedObject&>(*object_);
    using Kind = textforms::ServiceValue::Kind;
    if (service.kind == Kind::Ports) {
        const auto source = PortItem(service.sourcePort);
        const auto destination = PortItem(service.destinationPort);
        return ItemMember(service.protocol == textforms::kProtocolTcp
                              ? object.CreateTcpElement(source.first, source.second,
                                                        destination.first, destination.second)
                              : object.CreateUdpElement(source.first, source.second,
                                                        destination.first, destination.second),
                          entry);
    }
    if (service.kind == Kind::Icmp && service.protocol == textforms::kProtocolIcmp)
        return ItemMember(object.CreateIcmpElement(service.icmpType.value_or(kAbsent),
                                                   service.icmpCode.value_or(kAbsent)),
                          entry);
    if (service.kind == Kind::Icmp && (service.icmpType || service.icmpCode))
        throw EditError("'" + entry +
                        "': a named service object holds ICMP types for IPv4 only; give the "
                        "ICMPv6 type in the rule itself");
    return ItemMember(object.CreateProtocolElement(service.protocol), entry);
}

Member ObjectMembers::ScheduleMember(const std::string& entry) const {
    if (const auto name = Parsed([&] { return textforms::ParseObjectReference(entry); }))
        return ObjectMember(entry, *name);
    if (const auto type = textforms::SystemObjectOfName(entry))
        return SystemMember(*type, entry);
    const auto schedule = Parsed([&] { return textforms::ParseSchedule(entry); });
    CheckMinutes(schedule.start, entry);
    CheckMinutes(schedule.end, entry);
    auto& object = dynamic_cast<fwcommon::IScheduleNamedObject&>(*object_);
    const auto& s = schedule;
    using Kind = textforms::ScheduleValue::Kind;
    if (s.kind == Kind::Daily)
        return ItemMember(
            object.CreateDailyElement(s.start.hour, s.start.minute, s.end.hour, s.end.minute),
            entry);
    if (s.kind == Kind::Weekly)
        return ItemMember(object.CreateWeeklyElement(s.start.hour, s.start.minute, s.end.hour,
                                                     s.end.minute, DaySet(s.days)),
                          entry);
    return ItemMember(
        object.CreateCalendarElement(s.startDate.year, s.startDate.month, s.startDate.day,
                                     s.start.hour, s.start.minute, s.endDate.year, s.endDate.month,
                                     s.endDate.day, s.end.hour, s.end.minute),
        entry);
}

Member ObjectMembers::Parse(const std::string& entry) const {
    switch (object_->GetNamedObjectType()) {
        case fwcommon::eServiceObject:
            return ServiceMember(entry);
        case fwcommon::eScheduleObject:
            return ScheduleMember(entry);
        default:
            return HostMember(entry);
    }
}

bool ObjectMembers::Holds(MemberList list, const Member& member) const {
    const auto entries = Entries(*object_, list);
    for (const auto& entry : *entries) {
        if (Matches(entry, member))
            return true;
    }
    return false;
}

bool ObjectMembers::Add(MemberList list, const std::string& entry) {
    const Member member = Parse(entry);
    if (Holds(list, member))
        return false;
    const bool including = list == MemberList::kInclusions;
    if (Holds(including ? MemberList::kExclusions : MemberList::kInclusions, member))
        throw EditError("'" + entry + "' is " + (including ? "an exclusion" : "an inclusion") +
                        " of the object; --" + (including ? "remove-exclude" : "remove") +
                        " it first");
    const auto index = static_cast<std::uint32_t>(list);
    bool added = false;
    switch (member.kind) {
        case Member::Kind::kItem:
            added = object_->AddElement(index, member.item);
            break;
        case Member::Kind::kSystemObject:
            added = object_->AddSystemObject(index, member.systemObject);
            break;
        case Member::Kind::kObject:
            if (SameObject(*member.object, *object_))
                throw EditError("'" + entry + "' is the object itself");
            added = object_->AddNamedObject(index, member.object);
            if (!added)
                throw EditError("'" + entry +
                                "' contains this object; adding it would make a cycle");
            break;
    }
    if (!added)
        throw EditError("'" + entry + "' could not be added");
    return true;
}

void ObjectMembers::Remove(MemberList list, const std::string& entry) {
    const Member member = Parse(entry);
    const auto entries = Entries(*object_, list);
    std::size_t found = entries->size();
    for (std::size_t i = 0; i < entries->size() && found == entries->size(); ++i) {
        if (Matches((*entries)[i], member))
            found = i;
    }
    if (found == entries->size())
        throw EditError("'" + entry + "' is not among the " +
                        (list == MemberList::kInclusions ? "inclusions" : "exclusions") +
                        " of the object");
    // The object removes entries by identifier, which several entries may
    // share (all system objects have 0): empty the list and put back every
    // other entry in its order.
    const auto index = static_cast<std::uint32_t>(list);
    for (const auto& kept : *entries)
        object_->RemoveItem(index, kept);
    for (std::size_t i = 0; i < entries->size(); ++i) {
        if (i != found && !Restore(*object_, index, (*entries)[i]))
            throw EditError("the other entries of the object could not be kept");
    }
}

}  // namespace fwpolicy
