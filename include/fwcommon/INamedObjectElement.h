#pragma once

#include <string>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/export.h>

namespace fwcommon {

// One item inside a named object: an address, range or free text of an
// IP-address object, an interface name, a protocol with ports or ICMP
// values, a time span, or a VPN node, network or name template.
//
// Items are small value objects shared by shared pointer; the kind-specific
// factories of the named-object interfaces create them. Each has an item
// identifier from one process-wide counter (never part of equality) and a
// set of parameter identifiers: GetParam answers exactly those and throws
// std::logic_error ("...::GetParam. Invalid parameter name") for any other.
// GetItemKind is always eElementItem (2). One thread at a time uses an
// item.
class FWCOMMON_EXPORT INamedObjectElement : public INamedItem {
public:
    INamedObjectElement() = default;
    INamedObjectElement(const INamedObjectElement&) = default;
    INamedObjectElement& operator=(const INamedObjectElement&) { return *this; }
    ~INamedObjectElement() override;

    // The kind of named object the item belongs to: eInterfaceObject (0)
    // for IP-address and interface items alike, eServiceObject,
    // eScheduleObject or eSarvoGroupObject for the others.
    virtual NamedObjectType GetElementType() const = 0;
    // Copies every field and the parameter-id set of other when other is
    // an item of the same class (an interface item counts as an IP-address
    // item); otherwise, or when other is this item or null, nothing
    // changes. The item identifier stays. Returns this item.
    virtual INamedObjectElement& Assign(const INamedObjectElement* other) = 0;
    // The display text; for a service item the protocol number.
    virtual const std::wstring& GetText() const = 0;
};

}  // namespace fwcommon
