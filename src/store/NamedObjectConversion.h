#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// A reference from a named object's list to another named object, by the
// referenced object's Id.
struct ObjectReference {
    std::uint32_t list;  // 0 inclusions, 1 exclusions
    int id;
};

// Turns a document element of a named object into a domain object of the
// element's kind: Inclusion members become list 0, Exclusion members list
// 1, in document order. References to other named objects are not
// resolved here: they are returned in references, in document order, for
// the caller to resolve (they may point to objects not built yet).
// Members that no item can express (an element of a family's bare base
// type) are left out. Throws std::runtime_error for a system-object name
// outside the fifteen texts.
std::shared_ptr<INamedObject> ObjectFromElement(const Sarvo::NamedObject& element,
                                                NamedObjectType type,
                                                std::vector<ObjectReference>& references);

// Writes the object's name, identifier, creation type and entries into an
// element of its kind, replacing the element's lists. unresolved holds
// references that the object could not resolve; they are written back as
// they were, so nothing the document held is lost.
void WriteObjectIntoElement(INamedObject& object, const std::vector<ObjectReference>& unresolved,
                            Sarvo::NamedObject& element);

// A new element of the object's kind holding the object.
std::unique_ptr<Sarvo::NamedObject> ElementFromObject(INamedObject& object);

// The document collection of a kind within NamedObjects, as a list of base
// elements; the same order as in the document.
std::vector<Sarvo::NamedObject*> ElementsOfKind(Sarvo::NamedObjects& objects, NamedObjectType type);

}  // namespace fwcommon
