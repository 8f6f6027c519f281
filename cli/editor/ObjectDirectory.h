#pragma once

#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/DomainTypes.h>

namespace fwpolicy {

// A named object as references to it are written: its kind and Id.
struct ObjectTarget {
    fwcommon::NamedObjectType type = fwcommon::eIpAddressObject;
    int id = 0;
    std::string name;
};

// The named objects of one document, looked up by name for the references
// an edit writes. A snapshot taken at construction: build it again after
// objects are added, renamed or removed.
class ObjectDirectory {
public:
    ObjectDirectory(const fwcommon::Context& context, const std::wstring& dataname);

    // The object of that name; throws EditError "no named object 'NAME'"
    // when the document holds none, or "... is a service object, not ..."
    // when it is of none of the kinds wanted.
    ObjectTarget Find(const std::string& name,
                      const std::vector<fwcommon::NamedObjectType>& kinds) const;
    // The name of the object of that kind and Id; empty when there is none.
    std::string NameOf(fwcommon::NamedObjectType type, int id) const;

private:
    std::vector<ObjectTarget> objects_;
};

// "ip", "interface", "service", "schedule", "vpn".
std::string ObjectKindWord(fwcommon::NamedObjectType type);
// "an ip object", "a service object", ...
std::string ObjectKindPhrase(fwcommon::NamedObjectType type);
// `ip object 300104 "Admins"`: an object as the lines reporting edits name it.
std::string ObjectPhrase(const fwcommon::INamedObject& object);

}  // namespace fwpolicy
