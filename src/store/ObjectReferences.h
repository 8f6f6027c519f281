#pragma once

#include <functional>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Visits a reference condition to a named object: the kind of object it
// names and its Id, which the visitor may rewrite in place.
using ObjectReferenceVisitor = std::function<void(NamedObjectType kind, int& id)>;

// Reads a reference condition to a named object: its kind and Id.
using ObjectReferenceReader = std::function<void(NamedObjectType kind, int id)>;

// Every reference to a named object in a rule's conditions (schedules,
// source side, services, destination side, in that order).
void ForEachObjectReference(Sarvo::ConditionSet& conditions, const ObjectReferenceVisitor& visit);
void ForEachObjectReference(const Sarvo::ConditionSet& conditions,
                            const ObjectReferenceReader& read);

// Every reference to a named object among an object's members, inclusions
// first.
void ForEachObjectReference(Sarvo::NamedObject& object, const ObjectReferenceVisitor& visit);
void ForEachObjectReference(const Sarvo::NamedObject& object, const ObjectReferenceReader& read);

}  // namespace fwcommon
