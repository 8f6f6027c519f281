#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IXmlWrapper.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The five kinds of named object, as the tool names them ("ip",
// "interface", "vpn", "service", "schedule").
enum class ObjectKind { kIp, kInterface, kVpn, kService, kSchedule };
std::string KindName(ObjectKind kind);
const std::vector<std::string>& KindNames();
// The kind of a library object type; std::invalid_argument for a value
// outside the five types.
ObjectKind KindOf(fwcommon::NamedObjectType type);

// A named object as references name it: a reference carries the Id, its
// element type carries the kind.
struct ObjectKey {
    ObjectKind kind = ObjectKind::kIp;
    int id = 0;
};
bool operator<(const ObjectKey& a, const ObjectKey& b);
bool operator==(const ObjectKey& a, const ObjectKey& b);

// Where in a rule a reference stands.
enum class Where { kSource, kDestination, kServices, kSchedules };
std::string WhereName(Where where);  // "source", "destination", "services", "schedules"

// One reference from a rule to a named object.
struct RuleUse {
    std::string file;       // set when several files are indexed together
    std::string section;    // "local", "vpn", ... as `show` names them
    std::size_t index = 0;  // place in the section, as `show` numbers it
    long long ruleId = 0;   // RuleId
    std::wstring ruleName;
    Where where = Where::kSource;
    ObjectKey object;
};

// A named object with its entries shown as display texts (references to
// other objects by name when the document holds them) and the objects it
// refers to.
struct ObjectEntry {
    std::string file;  // set when several files are indexed together
    ObjectKey key;
    std::wstring name;
    std::wstring creationType;
    std::vector<std::wstring> inclusions;
    std::vector<std::wstring> exclusions;
    std::vector<ObjectKey> refers;
    std::size_t place = 0;  // among the objects of its kind in its document, from 0
};

// An object as lookups of its entries' texts find it: by kind and place in
// its document, since a document may give two objects of one kind the same
// Id, and even the same name (with another creation type).
using ObjectPlace = std::pair<ObjectKind, std::size_t>;
ObjectPlace PlaceOf(const ObjectEntry& object);

// What a document holds and who refers to whom. Objects in the order
// ip, interface, vpn, service, schedule, each kind in document order; rule
// uses section by section, rules in ascending order id, each rule's
// references in the order schedules, source, services, destination.
struct PolicyIndex {
    std::vector<ObjectEntry> objects;
    std::vector<RuleUse> uses;
};

PolicyIndex IndexPolicy(const Sarvo::PolicyType& policy, const fwcommon::IXmlWrapper& wrapper);
// IndexPolicy without the entries' display texts (inclusions and exclusions
// stay empty): for what follows references only, or words entries itself.
PolicyIndex IndexReferences(const Sarvo::PolicyType& policy);
// Adds the references of one rule, at index of its section, to uses.
void IndexRule(const Sarvo::Rule& rule, const std::string& section, std::size_t index,
               std::vector<RuleUse>& uses);

// Adds the objects and uses of one file's index to a combined index,
// tagging each with the file.
void AppendIndex(PolicyIndex& combined, PolicyIndex index, const std::string& file);

// How many different rules refer to each object directly, in one pass over
// the uses (an object no rule refers to is not in the map).
using RuleCountMap = std::map<ObjectKey, std::size_t>;
RuleCountMap RuleCounts(const PolicyIndex& index);
// How many different rules refer to the object directly.
std::size_t RulesUsing(const RuleCountMap& counts, const ObjectKey& object);
std::size_t RulesUsing(const PolicyIndex& index, const ObjectKey& object);

// Which object a reference names in an index of several files: an object
// of the referring file, else one of the named-objects file (sharedFile,
// "" when there is none). A file's references never reach the objects of
// another rules file, whatever their Ids. Refers to the index, which must
// outlive it.
class ObjectResolver {
public:
    explicit ObjectResolver(const PolicyIndex& index, std::string sharedFile = "");

    // The object, or null when neither file holds one of that kind and Id.
    const ObjectEntry* Resolve(const std::string& file, const ObjectKey& key) const;

private:
    std::map<std::pair<std::string, ObjectKey>, const ObjectEntry*> objects_;
    std::string sharedFile_;
};

// The objects whose entries refer to target, directly or through other
// objects, in index order; target itself is never among them.
std::vector<const ObjectEntry*> DependentObjects(const PolicyIndex& index,
                                                 const ObjectResolver& resolver,
                                                 const ObjectEntry& target);

}  // namespace fwpolicy
