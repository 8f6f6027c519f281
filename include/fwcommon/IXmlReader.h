#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/any.hpp>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/RuleInfo.h>
#include <fwcommon/RuleType.h>
#include <fwcommon/export.h>

namespace Sarvo {
class Action;
class Rule;
}  // namespace Sarvo

namespace fwcommon {

class INamedObject;
class IRule;
class IVpnNode;

using RuleList = std::vector<std::shared_ptr<IRule>>;
using NamedObjectList = std::vector<std::shared_ptr<INamedObject>>;
using VpnNodeList = std::vector<std::shared_ptr<IVpnNode>>;

// One policy document held in memory: its rules per section, its named
// objects and options, edited in place with commit and rollback.
//
// Readers are made by GetXmlReader (XmlReaderFactory.h) and are usually
// driven by a Context. A reader is not synchronised: one thread at a time.
// Edits change the live document at once; CommitChanges makes them the
// state that RollbackChanges returns to. A rule handle the reader hands
// out stays its rule's handle while the rule is in its section: updates and
// the references taken out of the document's rules reach the handle's
// element, and after a rollback the handle of a rule of that section,
// identifier and creation type (removed since the last commit or not)
// holds the document's content again. Errors of the document binding
// (xml_schema::exception) and of identifier allocation
// (std::out_of_range) pass through every operation.
class FWCOMMON_EXPORT IXmlReader {
public:
    IXmlReader() = default;
    IXmlReader(const IXmlReader&) = default;
    IXmlReader& operator=(const IXmlReader&) = default;

    // Named objects (see XmlReader for the lookups).
    virtual void AddNamedObject(std::shared_ptr<INamedObject> object) = 0;
    // Writes a changed object back into its element; returns the stored
    // object, or an empty pointer when the document has no such object.
    virtual std::shared_ptr<INamedObject> UpdateNamedObject(
        std::shared_ptr<INamedObject> object) = 0;
    virtual void RemoveNamedObjectById(IdentifierWithType id) = 0;

    // Sets Properties/ApplicationDateTime (seconds since 1970-01-01 UTC,
    // 0 for now) and RollbackPeriod. Not a pending change.
    virtual void SetApplicationProperties(std::int64_t time, std::int32_t period) = 0;

    // The rules of one section in ascending order id; empty for a type
    // outside 1..5. Builds the rule index on first use, which throws
    // std::logic_error when a rebuild would discard uncommitted edits.
    virtual std::shared_ptr<const RuleList> GetRules(RuleType type) = 0;
    // The rule with this identifier and creation type, or an empty pointer
    // (the miss is logged with a dump of every section).
    virtual std::shared_ptr<IRule> GetRuleById(IdentifierWithType id) = 0;
    // Stores the element in the section of type: replaces the rule with the
    // same RuleId and creation type (keeping its order id and place, and
    // taking it out of its own section when the element is of another kind)
    // or adds it. Builds the rule index first when it is not built. Returns
    // the handle the index now holds: the section's rule of that RuleId
    // and creation type keeps its handle, which takes the element's content;
    // an element of another kind or of a new rule gets a new handle on a
    // copy.
    virtual std::shared_ptr<IRule> UpdateRule(RuleType type, std::shared_ptr<Sarvo::Rule> rule) = 0;
    // Creates a rule of the section's kind with an empty condition set, a
    // copy of the action, a new identifier and order id; position is its
    // 0-based place in the section, -1 for the end. Empty pointer for a
    // type outside 1..5.
    virtual std::shared_ptr<IRule> CreateRule(RuleType type, CreationType creationType,
                                              const std::wstring& name, const Sarvo::Action& action,
                                              std::int32_t position) = 0;
    // Removes the rule with that identifier and creation type from the
    // section and from the document. False, with the document untouched and
    // nothing recorded, when the section has no such rule (also when another
    // section holds it).
    virtual bool RemoveRule(RuleType type, IdentifierWithType id) = 0;

    // Replaces out by the document as UTF-8 XML. Throws
    // xml_schema::serialization when the document holds text that XML 1.0
    // cannot carry.
    virtual void GetXmlData(std::vector<unsigned char>& out) = 0;

    // Options, by name and creation type. Values are boost::any holding a
    // std::wstring; GetOptionValue gives an empty any when absent.
    virtual bool HasOption(const std::wstring& name, CreationType creationType) = 0;
    virtual boost::any GetOptionValue(const std::wstring& name, CreationType creationType) = 0;
    // The names include the options set since the last rollback, so that a
    // name just set is never missing from the list.
    virtual std::vector<std::wstring> GetOptionNames() = 0;
    // Throws boost::bad_any_cast when value holds no std::wstring; the
    // option keeps its existing value then, nothing is lost.
    virtual void SetOptionValue(const std::wstring& name, const boost::any& value,
                                CreationType creationType) = 0;

    // Moves a rule by shift places within its section, rotating the order
    // ids between; false for a shift of 0, a move past either end or a
    // rule not in the section.
    virtual bool ChangeRulePriority(RuleType type, std::uint32_t identifier,
                                    std::int32_t shift) = 0;
    // Erases VpnNodeId conditions that name none of the nodes; the erased
    // node identifiers are appended to removed. True when one was erased.
    virtual bool UpdateVpnNodeConditions(std::shared_ptr<const VpnNodeList> nodes,
                                         std::vector<std::uint32_t>& removed) = 0;
    // Appends a record per rule that refers to the object; with
    // removeReferences, erases each such reference from its rule.
    virtual void UpdateRulesForNamedObject(std::shared_ptr<INamedObject> object,
                                           std::vector<RuleInfo>& records,
                                           bool removeReferences) = 0;

    virtual void CommitChanges() = 0;
    virtual void RollbackChanges() = 0;
    virtual bool HasChanges() = 0;

    virtual ~IXmlReader();
};

}  // namespace fwcommon
