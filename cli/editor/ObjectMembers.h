#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>

#include "ProtocolNames.h"

namespace fwpolicy {

// Which list of a named object an entry goes to or comes from.
enum class MemberList : std::uint32_t { kInclusions = 0, kExclusions = 1 };

// One entry as the object would hold it: an item of the object's own
// kind, another named object or a system object.
struct Member {
    enum class Kind { kItem, kObject, kSystemObject };
    Kind kind = Kind::kItem;
    std::shared_ptr<fwcommon::INamedObjectElement> item;
    std::shared_ptr<fwcommon::INamedObject> object;
    fwcommon::SystemObjectTypes systemObject = fwcommon::eAll;
    std::string text;  // as written, for messages
};

// Adds and removes the entries of one named object of a document, written
// in the text forms of rule conditions (10.1.0.0/24, interface:eth0,
// vpn-node:7, tcp/22, weekly mon-fri 08:00-18:00, @"Other object", a
// system object). Works on the object the Context keeps; the caller stores
// it with UpdateNamedObject. Every refusal is an EditError naming the
// entry. Used on one thread.
class ObjectMembers {
public:
    ObjectMembers(fwcommon::Context& context, const std::wstring& dataname,
                  std::shared_ptr<fwcommon::INamedObject> object,
                  const textforms::ProtocolNames& names);

    // Appends the entry; false, and nothing added, when the list holds it
    // already. Refused when the entry cannot stand in an object of this
    // kind, is an entry of the other list, names an object of another kind
    // or an object that contains this one (a cycle).
    bool Add(MemberList list, const std::string& entry);
    // Refused when the list holds no such entry.
    void Remove(MemberList list, const std::string& entry);

private:
    Member Parse(const std::string& entry) const;
    Member ObjectMember(const std::string& entry, const std::string& name) const;
    Member HostMember(const std::string& entry) const;
    Member ServiceMember(const std::string& entry) const;
    Member ScheduleMember(const std::string& entry) const;
    bool Holds(MemberList list, const Member& member) const;

    fwcommon::Context& context_;
    std::wstring dataname_;
    std::shared_ptr<fwcommon::INamedObject> object_;
    const textforms::ProtocolNames& names_;
};

// The object's kind as the tool names it, and back: "ip", "interface",
// "service", "schedule", "vpn".
fwcommon::NamedObjectType ObjectKindOfWord(const std::string& word);

// Parses an entry as an object of that kind would hold it, without the
// document (names of objects are not looked up): throws the EditError that
// ObjectMembers::Add would throw for a text form that does not parse.
void CheckEntryText(fwcommon::NamedObjectType type, const std::string& entry,
                    const textforms::ProtocolNames& names);

}  // namespace fwpolicy
