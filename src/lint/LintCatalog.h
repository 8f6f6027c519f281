#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

namespace fwcommon::lint {

// One named object of a document, with its kind and where it stands.
struct ObjectEntry {
    const Sarvo::NamedObject* element = nullptr;
    NamedObjectType type = eIpAddressObject;
    bool shared = false;  // from the shared named-objects document
};

// The named objects of a document in document order (schedule, service,
// VPN, interface, IP objects), as pointers into the document.
std::vector<ObjectEntry> ObjectsOf(const Sarvo::PolicyType& policy, bool shared);

// A kind as messages name it ("ip object", "service object", ...).
const wchar_t* ObjectKindName(NamedObjectType type);

// The named objects that references of one document may name: its own and
// the shared ones. Look-up by kind and Id; the catalog points into the
// documents, which outlive it. One thread at a time.
class ObjectCatalog {
public:
    void Add(const ObjectEntry& entry);

    // The object of this kind and Id when exactly one exists, else null.
    const ObjectEntry* Find(NamedObjectType type, std::int32_t id) const;
    // How many objects of this kind have this Id.
    std::size_t Count(NamedObjectType type, std::int32_t id) const;

private:
    static std::int64_t Key(NamedObjectType type, std::int32_t id);

    std::unordered_map<std::int64_t, std::vector<ObjectEntry>> byKey_;
};

}  // namespace fwcommon::lint
