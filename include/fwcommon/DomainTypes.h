#pragma once

// Enumerations and the identifier pair shared by every part of the library:
// who created an object, which family and kind it belongs to, the
// predefined system objects and the kind codes of named items.
//
// The enumerations are unscoped with a fixed 32-bit underlying type, so both
// fwcommon::User and fwcommon::CreationType::User name the same value and
// the numbers convert freely to and from the document's integer fields.

#include <cstdint>

namespace fwcommon {

// Who created an object. Numbered exactly like the document's CreationTypes
// ("Generated", "Policy", "User", "Post"): conversion either way keeps the
// number, and a document value outside 0..3 is carried through as is.
enum CreationType : std::int32_t {
    Generated = 0,
    Policy = 1,
    User = 2,
    Post = 3,
};

// Family of a domain object; also the first argument of every change
// notification. The values are single bits.
enum DomainObjectType : std::int32_t {
    eNamedObject = 16,
    eRule = 32,
};

// Options are no domain objects: their change notifications name the
// family kOptionFamily and the identifier kOptionIdentifier.
constexpr std::int32_t kOptionFamily = 256;
constexpr std::uint32_t kOptionIdentifier = 4294967295u;

// Kind of a named object.
enum NamedObjectType : std::int32_t {
    eInterfaceObject = 0,   // InterfaceObject element
    eIpAddressObject = 1,   // IpObject element
    eServiceObject = 2,     // ServiceObject element
    eScheduleObject = 3,    // ScheduleObject element
    eSarvoGroupObject = 4,  // VpnObject element
};

// Predefined objects that rules may name instead of a user's named object.
// StringUtilities::GetSystemType converts between a value and its text
// (the enumerator's name without the leading "e", case-sensitive).
enum SystemObjectTypes : std::int32_t {
    eBroadCast = 0,
    eLocalHost = 1,
    eOtherHost = 2,
    eAllCoordinators = 3,
    eAllClients = 4,
    eTunneledIP = 5,
    eInternetGateway = 6,
    eMulticast = 7,
    eAll = 8,
    eMyNetwork = 9,
    eOtherNetwork = 10,
    eMyVPN = 11,
    eOtherVPN = 12,
    ePrivateNetworkIP = 13,
    eInternetIP = 14,
};

// Number of SystemObjectTypes values (0 to 14).
constexpr std::int32_t kSystemObjectTypeCount = 15;

// Code returned by INamedItem::GetItemKind.
enum NamedItemKind : std::int32_t {
    eSystemObjectItem = 0,  // system objects
    eNamedObjectItem = 1,   // named objects of every kind
    eElementItem = 2,       // items inside named objects
};

// Names one domain object: an identifier is unique only within its
// creation type, so the pair, not the number alone, identifies an object.
// A plain value, copied freely; any thread may use its own copy.
struct IdentifierWithType {
    std::uint32_t identifier = 0;
    CreationType creationType = Generated;

    IdentifierWithType() = default;
    IdentifierWithType(std::uint32_t id, CreationType type) : identifier(id), creationType(type) {}

    friend bool operator==(const IdentifierWithType& a, const IdentifierWithType& b) {
        return a.identifier == b.identifier && a.creationType == b.creationType;
    }
    friend bool operator!=(const IdentifierWithType& a, const IdentifierWithType& b) {
        return !(a == b);
    }
    // Orders by creation type, then identifier, so the pair can key a map.
    friend bool operator<(const IdentifierWithType& a, const IdentifierWithType& b) {
        if (a.creationType != b.creationType) {
            return a.creationType < b.creationType;
        }
        return a.identifier < b.identifier;
    }
};

}  // namespace fwcommon
