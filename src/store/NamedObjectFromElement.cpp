// Document elements of named objects to domain objects.

#include <array>
#include <optional>
#include <stdexcept>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/ISarvoGroupNamedObject.h>
#include <fwcommon/IScheduleNamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IinterfaceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include <fwcommon/StringUtilities.h>
#include "document/SchemaCast.h"
#include "domain/NamedObject.h"
#include "store/NamedObjectConversion.h"

namespace fwcommon {
namespace {

using Element = std::shared_ptr<INamedObjectElement>;

std::int32_t Low32(long long value) {
    return static_cast<std::int32_t>(value);
}

template <typename T>
const T* As(const Sarvo::AbstractCondition& c) {
    return document::SchemaCast<T>(c);
}

Element IpItem(IipAddressNamedObject& ip, const Sarvo::AbstractCondition& m);
Element ServiceItem(IServiceNamedObject& s, const Sarvo::AbstractCondition& m);
Element ScheduleItem(IScheduleNamedObject& s, const Sarvo::AbstractCondition& m);
Element VpnItem(ISarvoGroupNamedObject& g, const Sarvo::AbstractCondition& m);

const std::wstring* SystemObjectName(const Sarvo::AbstractCondition& m) {
    if (auto* r = As<Sarvo::IpSystemObjectRef>(m))
        return &r->Name();
    if (auto* r = As<Sarvo::InterfaceSystemObjectRef>(m))
        return &r->Name();
    if (auto* r = As<Sarvo::ServiceSystemObjectRef>(m))
        return &r->Name();
    if (auto* r = As<Sarvo::ScheduleSystemObjectRef>(m))
        return &r->Name();
    if (auto* r = As<Sarvo::VpnSystemObjectRef>(m))
        return &r->Name();
    return nullptr;
}

// What became of one member.
enum class Outcome { kAppended, kKept, kUnresolved };

// Adds the members of one element to its domain object.
class MemberReader {
public:
    MemberReader(INamedObject& object, const ReferenceResolver& resolve)
        : object_(object), resolve_(resolve) {
        if (auto* own = dynamic_cast<NamedObject*>(&object))
            batch_.emplace(*own);
    }

    Outcome Read(std::uint32_t list, const Sarvo::AbstractCondition& member) {
        if (const auto id = ReferencedId(member)) {
            auto target = resolve_(*id);
            if (!target) {
                return Outcome::kUnresolved;
            }
            return AddReference(list, target);
        }
        if (const std::wstring* name = SystemObjectName(member)) {
            return object_.AddSystemObject(list, StringUtilities::GetSystemType(*name))
                       ? Outcome::kAppended
                       : Outcome::kKept;
        }
        return AddItem(list, ItemFromMember(object_, member));
    }

private:
    Outcome AddReference(std::uint32_t list, const std::shared_ptr<INamedObject>& target) {
        return object_.AddNamedObject(list, target) ? Outcome::kAppended : Outcome::kKept;
    }

    Outcome AddItem(std::uint32_t list, const Element& item) {
        if (!item)
            return Outcome::kKept;
        const bool added = batch_ ? batch_->Add(list, item) : object_.AddElement(list, item);
        return added ? Outcome::kAppended : Outcome::kKept;
    }

    INamedObject& object_;
    const ReferenceResolver& resolve_;
    // For an object of ours: the elements read so far, found by hash, so
    // that an object of many members is not read in quadratic time.
    std::optional<NamedObject::ElementBatch> batch_;
};

template <typename Kind>
std::array<std::vector<Outcome>, 2> ReadLists(const Kind& element, MemberReader& reader) {
    std::array<std::vector<Outcome>, 2> outcomes;
    for (const auto& member : element.Inclusion())
        outcomes[0].push_back(reader.Read(0, member));
    for (const auto& member : element.Exclusion())
        outcomes[1].push_back(reader.Read(1, member));
    return outcomes;
}

// Pairs each appended member with the entry it became: entries were
// appended in member order to lists that started empty.
std::vector<MemberOrigin> OriginsOf(const std::vector<Outcome>& outcomes,
                                    const NamedItemList& entries) {
    std::vector<MemberOrigin> origins;
    origins.reserve(outcomes.size());
    std::size_t next = 0;
    for (Outcome outcome : outcomes) {
        MemberOrigin origin;
        if (outcome == Outcome::kAppended && next < entries.size()) {
            origin.entry = entries[next++].get();
        }
        origin.unresolvedReference = outcome == Outcome::kUnresolved;
        origins.push_back(origin);
    }
    return origins;
}

Element IpItem(IipAddressNamedObject& ip, const Sarvo::AbstractCondition& m) {
    if (auto* a = As<Sarvo::IpAddress>(m))
        return ip.CreateAddressElement(a->Value());
    if (auto* k = As<Sarvo::IpMask>(m)) {
        return ip.CreateMaskElement(k->Net().Value(), k->Mask().Value());
    }
    if (auto* r = As<Sarvo::IpRange>(m)) {
        return ip.CreateRangeElement(r->Begin().Value(), r->End().Value());
    }
    return nullptr;
}

// From and to of one side of a port restriction; -1 where absent.
std::pair<std::int32_t, std::int32_t> PortsOf(
    const Sarvo::PortRestrictionCondition::SourcePort_optional& side) {
    if (!side.present())
        return {-1, -1};
    if (auto* range = dynamic_cast<const Sarvo::PortRange*>(&side.get())) {
        return {Low32(range->Begin().Value()), Low32(range->End().Value())};
    }
    if (auto* port = dynamic_cast<const Sarvo::Port*>(&side.get())) {
        return {Low32(port->Value()), -1};
    }
    return {-1, -1};
}

Element ServiceItem(IServiceNamedObject& s, const Sarvo::AbstractCondition& m) {
    if (auto* p = As<Sarvo::ProtocolCondition>(m))
        return s.CreateProtocolElement(Low32(p->Protocol()));
    if (auto* icmp = As<Sarvo::IcmpCondition>(m)) {
        return s.CreateIcmpElement(icmp->Type() ? Low32(*icmp->Type()) : -1,
                                   icmp->Code() ? Low32(*icmp->Code()) : -1);
    }
    const bool tcp = As<Sarvo::TcpCondition>(m) != nullptr;
    if (tcp || As<Sarvo::UdpCondition>(m)) {
        const auto& ports = static_cast<const Sarvo::PortRestrictionCondition&>(m);
        const auto source = PortsOf(ports.SourcePort());
        const auto destination = PortsOf(ports.DestinationPort());
        return tcp ? s.CreateTcpElement(source.first, source.second, destination.first,
                                        destination.second)
                   : s.CreateUdpElement(source.first, source.second, destination.first,
                                        destination.second);
    }
    return nullptr;
}

std::int32_t DaySet(const Sarvo::WeekDays& d) {
    const bool days[] = {d.Monday(), d.Tuesday(),  d.Wednesday(), d.Thursday(),
                         d.Friday(), d.Saturday(), d.Sunday()};
    std::int32_t set = 0;
    for (int i = 0; i < 7; ++i) {
        set |= days[i] ? (1 << i) : 0;
    }
    return set;
}

Element ScheduleItem(IScheduleNamedObject& s, const Sarvo::AbstractCondition& m) {
    auto* schedule = As<Sarvo::Schedule>(m);
    if (!schedule)
        return nullptr;
    const auto& start = schedule->StartTime();
    const auto& end = schedule->EndTime();
    if (auto* c = As<Sarvo::Calendar>(m)) {
        return s.CreateCalendarElement(c->StartDate().year(), c->StartDate().month(),
                                       c->StartDate().day(), start.hours(), start.minutes(),
                                       c->EndDate().year(), c->EndDate().month(),
                                       c->EndDate().day(), end.hours(), end.minutes());
    }
    if (auto* w = As<Sarvo::Weekly>(m)) {
        return s.CreateWeeklyElement(start.hours(), start.minutes(), end.hours(), end.minutes(),
                                     DaySet(w->WeekDays()));
    }
    return s.CreateDailyElement(start.hours(), start.minutes(), end.hours(), end.minutes());
}

Element VpnItem(ISarvoGroupNamedObject& g, const Sarvo::AbstractCondition& m) {
    if (auto* n = As<Sarvo::VpnNodeId>(m))
        return g.CreateNodeElement(static_cast<std::uint32_t>(n->Value()));
    if (auto* n = As<Sarvo::VpnNetworkId>(m)) {
        return g.CreateNetworkElement(static_cast<std::uint32_t>(n->Value()));
    }
    if (auto* t = As<Sarvo::VpnNameTemplate>(m))
        return g.CreateTemplateElement(t->Template());
    return nullptr;
}

}  // namespace

std::shared_ptr<INamedObject> ObjectFromElement(const Sarvo::NamedObject& element,
                                                NamedObjectType type) {
    return CreateNamedObject(static_cast<std::uint32_t>(element.Id()), element.Name(),
                             std::wstring(), type,
                             static_cast<CreationType>(static_cast<int>(element.CreationType())));
}

MemberOrigins ReadMembers(const Sarvo::NamedObject& element, INamedObject& object,
                          const ReferenceResolver& resolve) {
    MemberReader reader(object, resolve);
    std::array<std::vector<Outcome>, 2> outcomes;
    if (auto* e = document::SchemaCast<Sarvo::IpObject>(element))
        outcomes = ReadLists(*e, reader);
    if (auto* e = document::SchemaCast<Sarvo::InterfaceObject>(element))
        outcomes = ReadLists(*e, reader);
    if (auto* e = document::SchemaCast<Sarvo::ServiceObject>(element))
        outcomes = ReadLists(*e, reader);
    if (auto* e = document::SchemaCast<Sarvo::ScheduleObject>(element))
        outcomes = ReadLists(*e, reader);
    if (auto* e = document::SchemaCast<Sarvo::VpnObject>(element))
        outcomes = ReadLists(*e, reader);
    MemberOrigins origins;
    origins.lists[0] = OriginsOf(outcomes[0], *object.GetInclusions());
    origins.lists[1] = OriginsOf(outcomes[1], *object.GetExclusions());
    return origins;
}

Element ItemFromMember(INamedObject& object, const Sarvo::AbstractCondition& m) {
    if (auto* ip = dynamic_cast<IipAddressNamedObject*>(&object)) {
        if (auto* byIp = As<Sarvo::InterfaceByIp>(m))
            return IpItem(*ip, byIp->Condition());
        if (auto* simple = As<Sarvo::SimpleInterface>(m)) {
            auto* iface = dynamic_cast<IinterfaceNamedObject*>(&object);
            return iface ? iface->CreateInterfaceElement(simple->Value()) : nullptr;
        }
        if (auto* name = As<Sarvo::DomainName>(m))
            return ip->CreateTextElement(name->Value());
        return IpItem(*ip, m);
    }
    if (auto* service = dynamic_cast<IServiceNamedObject*>(&object))
        return ServiceItem(*service, m);
    if (auto* schedule = dynamic_cast<IScheduleNamedObject*>(&object))
        return ScheduleItem(*schedule, m);
    if (auto* group = dynamic_cast<ISarvoGroupNamedObject*>(&object))
        return VpnItem(*group, m);
    return nullptr;
}

std::optional<int> ReferencedId(const Sarvo::AbstractCondition& m) {
    if (auto* r = As<Sarvo::IpObjectRef>(m))
        return r->Id();
    if (auto* r = As<Sarvo::InterfaceObjectRef>(m))
        return r->Id();
    if (auto* r = As<Sarvo::ServiceObjectRef>(m))
        return r->Id();
    if (auto* r = As<Sarvo::ScheduleObjectRef>(m))
        return r->Id();
    if (auto* r = As<Sarvo::VpnObjectRef>(m))
        return r->Id();
    return std::nullopt;
}

const Sarvo::AbstractCondition& MemberAt(const Sarvo::NamedObject& element, std::uint32_t list,
                                         std::size_t index) {
    const Sarvo::AbstractCondition* member = nullptr;
    auto pick = [&](const auto& kind) {
        member = list == 0 ? &kind.Inclusion().at(index) : &kind.Exclusion().at(index);
    };
    if (auto* e = document::SchemaCast<Sarvo::IpObject>(element))
        pick(*e);
    if (auto* e = document::SchemaCast<Sarvo::InterfaceObject>(element))
        pick(*e);
    if (auto* e = document::SchemaCast<Sarvo::ServiceObject>(element))
        pick(*e);
    if (auto* e = document::SchemaCast<Sarvo::ScheduleObject>(element))
        pick(*e);
    if (auto* e = document::SchemaCast<Sarvo::VpnObject>(element))
        pick(*e);
    if (!member)
        throw std::logic_error("fwcommon::MemberAt: not a named-object element");
    return *member;
}

}  // namespace fwcommon
