#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Where one member of a named object's element stands in the domain
// object: the entry it became, or no entry when the member is kept in the
// element as written (a reference to an object not in this document yet, a
// reference or item the object refused as a repeat or a cycle, a member no
// item can express).
struct MemberOrigin {
    const INamedItem* entry = nullptr;
    bool unresolvedReference = false;  // kept, and names an object not found yet
};

// The origins of an element's members, list 0 its Inclusion members and
// list 1 its Exclusion members, in element order: always as long as the
// element's lists. Writing an object back keeps every kept member in its
// place and every member whose entry is unchanged exactly as it was, so a
// document read and written back unchanged is the same document.
struct MemberOrigins {
    std::array<std::vector<MemberOrigin>, 2> lists;
};

// Finds the named object that a reference of the object's own kind names
// by its Id; empty when there is none.
using ReferenceResolver = std::function<std::shared_ptr<INamedObject>(int id)>;

// A domain object of the element's kind with the element's Id, Name and
// CreationType and no entries yet.
std::shared_ptr<INamedObject> ObjectFromElement(const Sarvo::NamedObject& element,
                                                NamedObjectType type);

// Adds the element's members to the object in document order, Inclusion
// members to list 0 and Exclusion members to list 1; references are looked
// up with resolve. Throws std::runtime_error for a system-object name
// outside the fifteen texts.
MemberOrigins ReadMembers(const Sarvo::NamedObject& element, INamedObject& object,
                          const ReferenceResolver& resolve);

// The item a member of an element of the object's kind becomes; empty for
// references, system objects and members no item expresses.
std::shared_ptr<INamedObjectElement> ItemFromMember(INamedObject& object,
                                                    const Sarvo::AbstractCondition& member);

// The Id of a named-object reference; empty for any other member.
std::optional<int> ReferencedId(const Sarvo::AbstractCondition& member);

// The member at a place of the element's lists (0 Inclusion, 1 Exclusion).
const Sarvo::AbstractCondition& MemberAt(const Sarvo::NamedObject& element, std::uint32_t list,
                                         std::size_t index);

// Writes the object's name, identifier, creation type and entries into an
// element of its kind, replacing the element's lists, and brings origins up
// to date. Members kept by origins stay after the entry they followed; a
// member whose entry is unchanged is kept as written.
void WriteObjectIntoElement(INamedObject& object, MemberOrigins& origins,
                            Sarvo::NamedObject& element);

// A new element of the object's kind holding the object; origins receives
// the origins of its members.
std::unique_ptr<Sarvo::NamedObject> ElementFromObject(INamedObject& object, MemberOrigins& origins);

// The document collection of a kind within NamedObjects, as a list of base
// elements; the same order as in the document.
std::vector<Sarvo::NamedObject*> ElementsOfKind(Sarvo::NamedObjects& objects, NamedObjectType type);

}  // namespace fwcommon
