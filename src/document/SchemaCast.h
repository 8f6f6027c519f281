#pragma once

// dynamic_cast for the classes generated from the rules schema, by one
// lookup of the object's exact type.
//
// Reading a policy asks of every member and rule which generated class it
// is, and answers with chains of dynamic_cast. A cast that fails walks the
// object's class hierarchy and compares type names at each step; tens of
// thousands of members make that a visible share of a load. The generated
// classes are known here: a table made once gives, for each of them, the
// classes of its family it is or derives from. An object of a type outside
// the table (a subclass of the caller's own) is cast with dynamic_cast, so
// the answer is always dynamic_cast's.
//
// Any thread may call it; the tables are made on first use.

#include <cstdint>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

#include <fwcommon/rules.hxx>

namespace fwcommon::document {
namespace schema_cast {

template <typename... Members>
struct Family {};

// Every generated class below each base that a read dispatches on, the
// base first.
using Conditions =
    Family<Sarvo::AbstractCondition, Sarvo::IpHostCondition, Sarvo::IpPrimitive, Sarvo::IpAddress,
           Sarvo::IpMask, Sarvo::IpRange, Sarvo::DomainName, Sarvo::IpObjectRef,
           Sarvo::IpSystemObjectRef, Sarvo::VpnHostCondition, Sarvo::VpnNodeId, Sarvo::VpnNetworkId,
           Sarvo::VpnNameTemplate, Sarvo::VpnObjectRef, Sarvo::VpnSystemObjectRef,
           Sarvo::InterfaceCondition, Sarvo::SimpleInterface, Sarvo::InterfaceByIp,
           Sarvo::InterfaceObjectRef, Sarvo::InterfaceSystemObjectRef, Sarvo::ServiceCondition,
           Sarvo::Service, Sarvo::ProtocolCondition, Sarvo::IcmpCondition,
           Sarvo::PortRestrictionCondition, Sarvo::TcpCondition, Sarvo::UdpCondition,
           Sarvo::ServiceObjectRef, Sarvo::ServiceSystemObjectRef, Sarvo::ScheduleCondition,
           Sarvo::Schedule, Sarvo::Daily, Sarvo::Weekly, Sarvo::Calendar, Sarvo::ScheduleObjectRef,
           Sarvo::ScheduleSystemObjectRef>;
using Rules = Family<Sarvo::Rule, Sarvo::NatRule, Sarvo::VpnRule, Sarvo::LocalRule,
                     Sarvo::TransitRule, Sarvo::TunnelingRule>;
using NamedObjects = Family<Sarvo::NamedObject, Sarvo::IpObject, Sarvo::InterfaceObject,
                            Sarvo::VpnObject, Sarvo::ServiceObject, Sarvo::ScheduleObject>;

template <typename Base>
struct FamilyOf;
template <>
struct FamilyOf<Sarvo::AbstractCondition> {
    using type = Conditions;
};
template <>
struct FamilyOf<Sarvo::Rule> {
    using type = Rules;
};
template <>
struct FamilyOf<Sarvo::NamedObject> {
    using type = NamedObjects;
};

// One bit per member of a family, in the family's order.
using Bits = std::uint64_t;

template <typename T, typename... Members>
constexpr int IndexIn(Family<Members...>) {
    int index = 0;
    int found = -1;
    ((found = std::is_same_v<T, Members> ? index : found, ++index), ...);
    return found;
}

// The members of the family that C is or derives from.
template <typename C, typename... Members>
constexpr Bits AncestorsOf() {
    static_assert(sizeof...(Members) <= 64, "a family has at most 64 members");
    Bits bits = 0;
    Bits bit = 1;
    ((bits |= std::is_base_of_v<Members, C> ? bit : 0, bit <<= 1), ...);
    return bits;
}

// The ancestors of x's exact type, or 0 when that type is none of the
// family's.
template <typename Base, typename... Members>
Bits AncestorsOfType(const Base& x, Family<Members...>) {
    struct Table {
        std::unordered_map<const std::type_info*, Bits> byAddress;
        std::unordered_map<std::type_index, Bits> byName;  // another copy of a type_info
    };
    static const Table table = [] {
        Table made;
        const auto add = [&made](const std::type_info& type, Bits bits) {
            made.byAddress.emplace(&type, bits);
            made.byName.emplace(std::type_index(type), bits);
        };
        (add(typeid(Members), AncestorsOf<Members, Members...>()), ...);
        return made;
    }();
    const std::type_info& type = typeid(x);
    if (const auto found = table.byAddress.find(&type); found != table.byAddress.end())
        return found->second;
    const auto named = table.byName.find(std::type_index(type));
    return named == table.byName.end() ? 0 : named->second;
}

}  // namespace schema_cast

// What dynamic_cast<const T*>(&x) gives, for T a generated class of the
// family of Base (conditions, rules or named objects).
template <typename T, typename Base>
const T* SchemaCast(const Base& x) {
    using Members = typename schema_cast::FamilyOf<Base>::type;
    constexpr int kIndex = schema_cast::IndexIn<T>(Members{});
    static_assert(kIndex >= 0, "T is not a class of Base's family");
    const schema_cast::Bits ancestors = schema_cast::AncestorsOfType(x, Members{});
    if (ancestors == 0)
        return dynamic_cast<const T*>(&x);
    return (ancestors >> kIndex) & 1 ? static_cast<const T*>(&x) : nullptr;
}

}  // namespace fwcommon::document
