// Domain objects of named objects back to document elements.

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

#include <xsd/cxx/tree/comparison-map.hxx>

#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/ItemParameters.h>
#include "store/NamedObjectConversion.h"

namespace fwcommon {
namespace {

using Condition = std::unique_ptr<Sarvo::AbstractCondition>;

class ItemParams {
public:
    explicit ItemParams(const INamedItem& item) : item_(item), ids_(item.GetParamIds()) {}
    bool Has(int id) const { return ids_.count(id) != 0; }
    std::wstring Text(int id) const { return item_.GetParam(id); }
    long long Number(int id) const { return std::stoll(item_.GetParam(id)); }
    int Int(int id) const { return static_cast<int>(Number(id)); }

private:
    const INamedItem& item_;
    std::set<int> ids_;
};

Condition IpPrimitiveOf(const ItemParams& p) {
    if (p.Has(kParamRangeStart) && p.Has(kParamRangeEnd)) {
        return std::make_unique<Sarvo::IpRange>(Sarvo::IpAddress(p.Text(kParamRangeStart)),
                                                Sarvo::IpAddress(p.Text(kParamRangeEnd)));
    }
    if (p.Has(kParamAddress) && p.Has(kParamMask)) {
        return std::make_unique<Sarvo::IpMask>(Sarvo::IpAddress(p.Text(kParamAddress)),
                                               Sarvo::IpAddress(p.Text(kParamMask)));
    }
    if (p.Has(kParamAddress)) {
        return std::make_unique<Sarvo::IpAddress>(p.Text(kParamAddress));
    }
    return nullptr;
}

Condition HostItem(const ItemParams& p, NamedObjectType kind) {
    if (kind == eInterfaceObject) {
        if (p.Has(kParamInterfaceName))
            return std::make_unique<Sarvo::SimpleInterface>(p.Text(kParamInterfaceName));
        auto primitive = IpPrimitiveOf(p);
        if (!primitive)
            return nullptr;
        return std::make_unique<Sarvo::InterfaceByIp>(std::unique_ptr<Sarvo::IpPrimitive>(
            static_cast<Sarvo::IpPrimitive*>(primitive.release())));
    }
    if (p.Has(kParamFreeText))
        return std::make_unique<Sarvo::DomainName>(p.Text(kParamFreeText));
    return IpPrimitiveOf(p);
}

std::unique_ptr<Sarvo::PortPrimitive> PortSide(const ItemParams& p, int from, int to) {
    if (!p.Has(from))
        return nullptr;
    if (p.Has(to)) {
        return std::make_unique<Sarvo::PortRange>(Sarvo::Port(p.Number(from)),
                                                  Sarvo::Port(p.Number(to)));
    }
    return std::make_unique<Sarvo::Port>(p.Number(from));
}

template <typename Kind>
Condition PortsCondition(const ItemParams& p, long long protocol) {
    auto condition = std::make_unique<Kind>(protocol);
    if (auto source = PortSide(p, kParamSourcePortFrom, kParamSourcePortTo))
        condition->SourcePort(std::move(source));
    if (auto target = PortSide(p, kParamDestinationPortFrom, kParamDestinationPortTo)) {
        condition->DestinationPort(std::move(target));
    }
    return condition;
}

Condition ServiceItem(const ItemParams& p) {
    const long long protocol = p.Number(kParamProtocol);
    if (protocol == 6)
        return PortsCondition<Sarvo::TcpCondition>(p, protocol);
    if (protocol == 17)
        return PortsCondition<Sarvo::UdpCondition>(p, protocol);
    if (protocol == 1) {
        auto icmp = std::make_unique<Sarvo::IcmpCondition>(protocol);
        if (p.Has(kParamIcmpType))
            icmp->Type(p.Number(kParamIcmpType));
        if (p.Has(kParamIcmpCode))
            icmp->Code(p.Number(kParamIcmpCode));
        return icmp;
    }
    return std::make_unique<Sarvo::ProtocolCondition>(protocol);
}

Sarvo::WeekDays WeekDaysOf(int set) {
    auto day = [set](int bit) { return (set & (1 << bit)) != 0; };
    return Sarvo::WeekDays(day(0), day(1), day(2), day(3), day(4), day(5), day(6));
}

Condition ScheduleItem(const ItemParams& p) {
    const xml_schema::time start(static_cast<unsigned short>(p.Int(kParamStartHour)),
                                 static_cast<unsigned short>(p.Int(kParamStartMinute)), 0);
    const xml_schema::time end(static_cast<unsigned short>(p.Int(kParamEndHour)),
                               static_cast<unsigned short>(p.Int(kParamEndMinute)), 0);
    if (p.Has(kParamDaySet) && p.Int(kParamDaySet) != 0) {
        return std::make_unique<Sarvo::Weekly>(start, end, WeekDaysOf(p.Int(kParamDaySet)));
    }
    if (p.Has(kParamStartDate)) {
        const xml_schema::date from(p.Int(kParamStartYear),
                                    static_cast<unsigned short>(p.Int(kParamStartMonth)),
                                    static_cast<unsigned short>(p.Int(kParamStartDay)));
        const xml_schema::date to(p.Int(kParamEndYear),
                                  static_cast<unsigned short>(p.Int(kParamEndMonth)),
                                  static_cast<unsigned short>(p.Int(kParamEndDay)));
        return std::make_unique<Sarvo::Calendar>(start, end, from, to);
    }
    return std::make_unique<Sarvo::Daily>(start, end);
}

Condition VpnItem(const ItemParams& p) {
    if (p.Has(kParamNode))
        return std::make_unique<Sarvo::VpnNodeId>(p.Number(kParamNode));
    if (p.Has(kParamNameTemplate))
        return std::make_unique<Sarvo::VpnNameTemplate>(p.Text(kParamNameTemplate));
    if (p.Has(kParamNetwork))
        return std::make_unique<Sarvo::VpnNetworkId>(p.Number(kParamNetwork));
    return nullptr;
}

Condition SystemRef(NamedObjectType kind, const std::wstring& name) {
    switch (kind) {
        case eInterfaceObject:
            return std::make_unique<Sarvo::InterfaceSystemObjectRef>(name);
        case eIpAddressObject:
            return std::make_unique<Sarvo::IpSystemObjectRef>(name);
        case eServiceObject:
            return std::make_unique<Sarvo::ServiceSystemObjectRef>(name);
        case eScheduleObject:
            return std::make_unique<Sarvo::ScheduleSystemObjectRef>(name);
        case eSarvoGroupObject:
            return std::make_unique<Sarvo::VpnSystemObjectRef>(name);
    }
    return nullptr;
}

Condition ObjectRef(NamedObjectType kind, int id) {
    switch (kind) {
        case eInterfaceObject:
            return std::make_unique<Sarvo::InterfaceObjectRef>(id);
        case eIpAddressObject:
            return std::make_unique<Sarvo::IpObjectRef>(id);
        case eServiceObject:
            return std::make_unique<Sarvo::ServiceObjectRef>(id);
        case eScheduleObject:
            return std::make_unique<Sarvo::ScheduleObjectRef>(id);
        case eSarvoGroupObject:
            return std::make_unique<Sarvo::VpnObjectRef>(id);
    }
    return nullptr;
}

Condition ConditionOf(INamedItem& entry, NamedObjectType kind) {
    switch (entry.GetItemKind()) {
        case eSystemObjectItem:
            return SystemRef(kind, entry.GetParam(kParamDisplayText));
        case eNamedObjectItem:
            return ObjectRef(kind, static_cast<int>(entry.GetIdentifier()));
    }
    const ItemParams params(entry);
    switch (kind) {
        case eInterfaceObject:
        case eIpAddressObject:
            return HostItem(params, kind);
        case eServiceObject:
            return ServiceItem(params);
        case eScheduleObject:
            return ScheduleItem(params);
        case eSarvoGroupObject:
            return VpnItem(params);
    }
    return nullptr;
}

// Equal members of the same kind, by the binding's comparison of the
// elements' actual types.
bool SameMember(const Sarvo::AbstractCondition& a, const Sarvo::AbstractCondition& b) {
    return xsd::cxx::tree::comparison_map_instance<0, wchar_t>().compare(a, b);
}

// True when an entry still says what the member it came from says, so the
// member can stay as written (with what the entry cannot hold, such as the
// seconds of a time or a ProtocolCondition of protocol 6).
bool StillSays(INamedObject& object, const INamedItem& entry,
               const Sarvo::AbstractCondition& member) {
    if (entry.GetItemKind() != eElementItem) {
        return true;  // the same system object or named object
    }
    const auto original = ItemFromMember(object, member);
    if (!original || original->GetParamIds() != entry.GetParamIds()) {
        return false;
    }
    for (int id : entry.GetParamIds()) {
        if (original->GetParam(id) != entry.GetParam(id)) {
            return false;
        }
    }
    return true;
}

// Rebuilds one list of an element from the object's entries. Members kept
// by the origins follow the entry they followed before (those whose entry
// has gone come last); an unchanged entry keeps its member as written.
template <typename Sequence>
void RebuildList(INamedObject& object, const NamedItemList& entries,
                 std::vector<MemberOrigin>& origins, Sequence& members) {
    using Member = typename Sequence::value_type;
    const NamedObjectType kind = object.GetNamedObjectType();

    std::vector<std::unique_ptr<Member>> old(members.size());
    for (std::size_t i = 0; i < old.size(); ++i) {
        members.detach(members.begin() + static_cast<std::ptrdiff_t>(i), old[i], false);
    }
    members.clear();

    std::unordered_map<const INamedItem*, std::size_t> memberOfEntry;
    std::unordered_map<const INamedItem*, std::vector<std::size_t>> keptAfter;
    const INamedItem* previous = nullptr;
    for (std::size_t i = 0; i < origins.size() && i < old.size(); ++i) {
        if (origins[i].entry != nullptr) {
            memberOfEntry.emplace(origins[i].entry, i);
            previous = origins[i].entry;
        } else {
            keptAfter[previous].push_back(i);
        }
    }

    std::vector<MemberOrigin> rebuilt;
    auto emitKeptAfter = [&](const INamedItem* anchor) {
        auto kept = keptAfter.find(anchor);
        if (kept == keptAfter.end()) {
            return;
        }
        for (std::size_t i : kept->second) {
            members.push_back(std::move(old[i]));
            rebuilt.push_back(origins[i]);
        }
        keptAfter.erase(kept);
    };

    emitKeptAfter(nullptr);
    for (const auto& entry : entries) {
        std::unique_ptr<Member> member;
        Condition fresh = ConditionOf(*entry, kind);
        auto known = memberOfEntry.find(entry.get());
        if (known != memberOfEntry.end() && old[known->second] &&
            ((fresh && SameMember(*fresh, *old[known->second])) ||
             StillSays(object, *entry, *old[known->second]))) {
            member = std::move(old[known->second]);
        } else if (fresh) {
            member.reset(static_cast<Member*>(fresh.release()));
        }
        if (member) {
            members.push_back(std::move(member));
            rebuilt.push_back({entry.get(), false});
        }
        emitKeptAfter(entry.get());
    }

    std::vector<std::size_t> orphans;
    for (const auto& kept : keptAfter) {
        orphans.insert(orphans.end(), kept.second.begin(), kept.second.end());
    }
    std::sort(orphans.begin(), orphans.end());
    for (std::size_t i : orphans) {
        members.push_back(std::move(old[i]));
        rebuilt.push_back(origins[i]);
    }
    origins = std::move(rebuilt);
}

template <typename Kind>
void WriteLists(INamedObject& object, MemberOrigins& origins, Kind& element) {
    RebuildList(object, *object.GetInclusions(), origins.lists[0], element.Inclusion());
    RebuildList(object, *object.GetExclusions(), origins.lists[1], element.Exclusion());
}

}  // namespace

void WriteObjectIntoElement(INamedObject& object, MemberOrigins& origins,
                            Sarvo::NamedObject& element) {
    const INamedObject& constObject = object;
    element.Name(constObject.GetName());
    element.Id(static_cast<int>(constObject.GetIdentifier()));
    element.CreationType(Sarvo::CreationTypes(
        static_cast<Sarvo::CreationTypes::value>(static_cast<int>(object.GetCreationType()))));
    if (auto* e = dynamic_cast<Sarvo::IpObject*>(&element))
        WriteLists(object, origins, *e);
    if (auto* e = dynamic_cast<Sarvo::InterfaceObject*>(&element))
        WriteLists(object, origins, *e);
    if (auto* e = dynamic_cast<Sarvo::ServiceObject*>(&element))
        WriteLists(object, origins, *e);
    if (auto* e = dynamic_cast<Sarvo::ScheduleObject*>(&element))
        WriteLists(object, origins, *e);
    if (auto* e = dynamic_cast<Sarvo::VpnObject*>(&element))
        WriteLists(object, origins, *e);
}

std::unique_ptr<Sarvo::NamedObject> ElementFromObject(INamedObject& object,
                                                      MemberOrigins& origins) {
    const Sarvo::CreationTypes creation(Sarvo::CreationTypes::Generated);
    std::unique_ptr<Sarvo::NamedObject> element;
    switch (object.GetNamedObjectType()) {
        case eInterfaceObject:
            element = std::make_unique<Sarvo::InterfaceObject>(L"", 0, creation);
            break;
        case eIpAddressObject:
            element = std::make_unique<Sarvo::IpObject>(L"", 0, creation);
            break;
        case eServiceObject:
            element = std::make_unique<Sarvo::ServiceObject>(L"", 0, creation);
            break;
        case eScheduleObject:
            element = std::make_unique<Sarvo::ScheduleObject>(L"", 0, creation);
            break;
        case eSarvoGroupObject:
            element = std::make_unique<Sarvo::VpnObject>(L"", 0, creation);
            break;
    }
    origins = MemberOrigins();
    if (element) {
        WriteObjectIntoElement(object, origins, *element);
    }
    return element;
}

std::vector<Sarvo::NamedObject*> ElementsOfKind(Sarvo::NamedObjects& objects,
                                                NamedObjectType type) {
    std::vector<Sarvo::NamedObject*> elements;
    auto collect = [&elements](auto& sequence) {
        for (auto& element : sequence)
            elements.push_back(&element);
    };
    switch (type) {
        case eInterfaceObject:
            collect(objects.InterfaceObject());
            break;
        case eIpAddressObject:
            collect(objects.IpObject());
            break;
        case eServiceObject:
            collect(objects.ServiceObject());
            break;
        case eScheduleObject:
            collect(objects.ScheduleObject());
            break;
        case eSarvoGroupObject:
            collect(objects.VpnObject());
            break;
    }
    return elements;
}

}  // namespace fwcommon
