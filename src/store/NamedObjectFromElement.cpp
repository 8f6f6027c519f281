// Document elements of named objects to domain objects.

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/ISarvoGroupNamedObject.h>
#include <fwcommon/IScheduleNamedObject.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IinterfaceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include <fwcommon/StringUtilities.h>
#include "store/NamedObjectConversion.h"

namespace fwcommon {
namespace {

using Element = std::shared_ptr<INamedObjectElement>;

std::int32_t Low32(long long value) {
    return static_cast<std::int32_t>(value);
}

template <typename T>
const T* As(const Sarvo::AbstractCondition& c) {
    return dynamic_cast<const T*>(&c);
}

// Adds a system object or an item; references go to the caller's list.
class EntryReader {
public:
    EntryReader(INamedObject& object, std::vector<ObjectReference>& references)
        : object_(object), references_(references) {}

    void Read(std::uint32_t list, const Sarvo::AbstractCondition& member) {
        list_ = list;
        if (ReadReference(member) || ReadSystemObject(member)) {
            return;
        }
        if (Element item = ItemOf(member)) {
            object_.AddElement(list, item);
        }
    }

private:
    bool ReadReference(const Sarvo::AbstractCondition& m) {
        int id = 0;
        if (auto* r = As<Sarvo::IpObjectRef>(m))
            id = r->Id();
        else if (auto* r = As<Sarvo::InterfaceObjectRef>(m))
            id = r->Id();
        else if (auto* r = As<Sarvo::ServiceObjectRef>(m))
            id = r->Id();
        else if (auto* r = As<Sarvo::ScheduleObjectRef>(m))
            id = r->Id();
        else if (auto* r = As<Sarvo::VpnObjectRef>(m))
            id = r->Id();
        else
            return false;
        references_.push_back({list_, id});
        return true;
    }

    bool ReadSystemObject(const Sarvo::AbstractCondition& m) {
        const std::wstring* name = nullptr;
        if (auto* r = As<Sarvo::IpSystemObjectRef>(m))
            name = &r->Name();
        else if (auto* r = As<Sarvo::InterfaceSystemObjectRef>(m))
            name = &r->Name();
        else if (auto* r = As<Sarvo::ServiceSystemObjectRef>(m))
            name = &r->Name();
        else if (auto* r = As<Sarvo::ScheduleSystemObjectRef>(m))
            name = &r->Name();
        else if (auto* r = As<Sarvo::VpnSystemObjectRef>(m))
            name = &r->Name();
        else
            return false;
        object_.AddSystemObject(list_, StringUtilities::GetSystemType(*name));
        return true;
    }

    Element ItemOf(const Sarvo::AbstractCondition& m) {
        if (auto* ip = dynamic_cast<IipAddressNamedObject*>(&object_)) {
            if (auto* byIp = As<Sarvo::InterfaceByIp>(m))
                return IpItem(*ip, byIp->Condition());
            if (auto* simple = As<Sarvo::SimpleInterface>(m)) {
                auto* iface = dynamic_cast<IinterfaceNamedObject*>(&object_);
                return iface ? iface->CreateInterfaceElement(simple->Value()) : nullptr;
            }
            if (auto* name = As<Sarvo::DomainName>(m))
                return ip->CreateTextElement(name->Value());
            return IpItem(*ip, m);
        }
        if (auto* service = dynamic_cast<IServiceNamedObject*>(&object_))
            return ServiceItem(*service, m);
        if (auto* schedule = dynamic_cast<IScheduleNamedObject*>(&object_)) {
            return ScheduleItem(*schedule, m);
        }
        if (auto* group = dynamic_cast<ISarvoGroupNamedObject*>(&object_))
            return VpnItem(*group, m);
        return nullptr;
    }

    static Element IpItem(IipAddressNamedObject& ip, const Sarvo::AbstractCondition& m) {
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
    static std::pair<std::int32_t, std::int32_t> PortsOf(
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

    static Element ServiceItem(IServiceNamedObject& s, const Sarvo::AbstractCondition& m) {
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

    static std::int32_t DaySet(const Sarvo::WeekDays& d) {
        const bool days[] = {d.Monday(), d.Tuesday(),  d.Wednesday(), d.Thursday(),
                             d.Friday(), d.Saturday(), d.Sunday()};
        std::int32_t set = 0;
        for (int i = 0; i < 7; ++i) {
            set |= days[i] ? (1 << i) : 0;
        }
        return set;
    }

    static Element ScheduleItem(IScheduleNamedObject& s, const Sarvo::AbstractCondition& m) {
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

    static Element VpnItem(ISarvoGroupNamedObject& g, const Sarvo::AbstractCondition& m) {
        if (auto* n = As<Sarvo::VpnNodeId>(m))
            return g.CreateNodeElement(static_cast<std::uint32_t>(n->Value()));
        if (auto* n = As<Sarvo::VpnNetworkId>(m)) {
            return g.CreateNetworkElement(static_cast<std::uint32_t>(n->Value()));
        }
        if (auto* t = As<Sarvo::VpnNameTemplate>(m))
            return g.CreateTemplateElement(t->Template());
        return nullptr;
    }

    INamedObject& object_;
    std::vector<ObjectReference>& references_;
    std::uint32_t list_ = 0;
};

template <typename Kind>
void ReadLists(const Kind& element, EntryReader& reader) {
    for (const auto& member : element.Inclusion())
        reader.Read(0, member);
    for (const auto& member : element.Exclusion())
        reader.Read(1, member);
}

}  // namespace

std::shared_ptr<INamedObject> ObjectFromElement(const Sarvo::NamedObject& element,
                                                NamedObjectType type,
                                                std::vector<ObjectReference>& references) {
    auto object = CreateNamedObject(
        static_cast<std::uint32_t>(element.Id()), element.Name(), std::wstring(), type,
        static_cast<CreationType>(static_cast<int>(element.CreationType())));
    EntryReader reader(*object, references);
    if (auto* e = dynamic_cast<const Sarvo::IpObject*>(&element))
        ReadLists(*e, reader);
    if (auto* e = dynamic_cast<const Sarvo::InterfaceObject*>(&element))
        ReadLists(*e, reader);
    if (auto* e = dynamic_cast<const Sarvo::ServiceObject*>(&element))
        ReadLists(*e, reader);
    if (auto* e = dynamic_cast<const Sarvo::ScheduleObject*>(&element))
        ReadLists(*e, reader);
    if (auto* e = dynamic_cast<const Sarvo::VpnObject*>(&element))
        ReadLists(*e, reader);
    return object;
}

}  // namespace fwcommon
