#pragma once

#include <map>
#include <tuple>
#include <utility>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Calls function(kind, object) for every named object of the collection:
// schedule, service, VPN, interface and IP objects, in that order.
template <typename Function>
void ForEachNamedObject(const Sarvo::NamedObjects& objects, Function function) {
    for (const auto& o : objects.ScheduleObject())
        function(eScheduleObject, o);
    for (const auto& o : objects.ServiceObject())
        function(eServiceObject, o);
    for (const auto& o : objects.VpnObject())
        function(eSarvoGroupObject, o);
    for (const auto& o : objects.InterfaceObject())
        function(eInterfaceObject, o);
    for (const auto& o : objects.IpObject())
        function(eIpAddressObject, o);
}

// Where the references of one document lead: the document's named objects
// by kind, Id and creation type, and by kind and Id alone. A reference
// names an object of its kind by Id; it means the object of the referring
// element's creation type when there is one, else the first object with
// that Id. Holds pointers into the document, which must outlive it.
class ObjectIndex {
public:
    ObjectIndex() = default;
    explicit ObjectIndex(const Sarvo::NamedObjects& objects);

    void Enter(NamedObjectType kind, const Sarvo::NamedObject& object);
    const Sarvo::NamedObject* Resolve(NamedObjectType kind, int id, CreationType referrer) const;

private:
    std::map<std::tuple<int, int, int>, const Sarvo::NamedObject*> exact_;
    std::map<std::pair<int, int>, const Sarvo::NamedObject*> anyCreation_;
};

// True when two named objects of the kind, each with the index of its own
// document, are one object to a merge: the same name, creation type and
// members, whatever their Ids, and the objects their members refer to the
// same in turn. A reference to no object is the same only as one to no
// object by the same Id; references deeper than a fixed bound (or a cycle)
// count as different.
bool SameObject(NamedObjectType kind, const Sarvo::NamedObject& a, const ObjectIndex& aObjects,
                const Sarvo::NamedObject& b, const ObjectIndex& bObjects);

}  // namespace fwcommon
