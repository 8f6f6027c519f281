#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/IXmlReader.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/rules.hxx>
#include "store/BoundRuleHandles.h"
#include "store/LiveRuleLocator.h"
#include "store/NamedObjectConversion.h"
#include "store/SectionIndex.h"

namespace fwcommon {

using GeneratorRegistry = std::map<CreationType, std::shared_ptr<IdentifierGenerator>>;

// The document store of one policy document: the live typed document, the
// snapshot that a rollback returns to, the rules indexed per section and
// the named objects as domain objects.
//
// The rule index is built on first use. Its first build makes every rule's
// RuleId a free identifier of its creation type (writing corrections back
// into the document) and raises the process-wide order-id counters past the
// loaded order ids. While rule edits are pending, a full rebuild is refused,
// since it would take the edits as the new committed state.
//
// The committed snapshot is taken lazily: until the live document is first
// changed after a build, commit or rollback, the snapshot and the live
// document are the same tree.
//
// Not synchronised; the Context that owns the reader serialises access.
class XmlReader : public IXmlReader {
public:
    XmlReader(const std::vector<unsigned char>& bytes, CreationType creationType,
              const std::wstring& dataname, const std::wstring& schemaPath,
              std::shared_ptr<GeneratorRegistry> registry);
    // A reader of a document already parsed and validated.
    XmlReader(std::unique_ptr<Sarvo::PolicyType> document, CreationType creationType,
              const std::wstring& dataname, std::shared_ptr<GeneratorRegistry> registry);
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // IXmlReader.
    void AddNamedObject(std::shared_ptr<INamedObject> object) override;
    std::shared_ptr<INamedObject> UpdateNamedObject(std::shared_ptr<INamedObject> object) override;
    void RemoveNamedObjectById(IdentifierWithType id) override;
    void SetApplicationProperties(std::int64_t time, std::int32_t period) override;
    std::shared_ptr<const RuleList> GetRules(RuleType type) override;
    std::shared_ptr<IRule> GetRuleById(IdentifierWithType id) override;
    std::shared_ptr<IRule> UpdateRule(RuleType type, std::shared_ptr<Sarvo::Rule> rule) override;
    std::shared_ptr<IRule> CreateRule(RuleType type, CreationType creationType,
                                      const std::wstring& name, const Sarvo::Action& action,
                                      std::int32_t position) override;
    bool RemoveRule(RuleType type, IdentifierWithType id) override;
    void GetXmlData(std::vector<unsigned char>& out) override;
    bool HasOption(const std::wstring& name, CreationType creationType) override;
    boost::any GetOptionValue(const std::wstring& name, CreationType creationType) override;
    std::vector<std::wstring> GetOptionNames() override;
    void SetOptionValue(const std::wstring& name, const boost::any& value,
                        CreationType creationType) override;
    bool ChangeRulePriority(RuleType type, std::uint32_t identifier, std::int32_t shift) override;
    bool UpdateVpnNodeConditions(std::shared_ptr<const VpnNodeList> nodes,
                                 std::vector<std::uint32_t>& removed) override;
    void UpdateRulesForNamedObject(std::shared_ptr<INamedObject> object,
                                   std::vector<RuleInfo>& records, bool removeReferences) override;
    void CommitChanges() override;
    void RollbackChanges() override;
    bool HasChanges() override;
    ~XmlReader() override;

    // Erases the first option of this name and creation type; false (and
    // nothing changed) when the document holds none.
    bool RemoveOption(const std::wstring& name, CreationType creationType);

    // Named objects of the document, built on first use.
    virtual std::shared_ptr<INamedObject> CreateNamedObject(CreationType creationType,
                                                            const std::wstring& name,
                                                            const std::wstring& description,
                                                            NamedObjectType type);
    virtual bool RemoveNamedObjectByName(CreationType creationType, const std::wstring& name);
    // Removes this object of the list (or the stored object of its
    // identifier, creation type and kind) as RemoveNamedObjectByName does.
    bool RemoveNamedObject(const INamedObject& object);
    virtual NamedObjectList GetNamedObjectsByType(NamedObjectType type);
    virtual NamedObjectList GetNamedObjects();
    virtual std::shared_ptr<INamedObject> GetNamedObject(CreationType creationType,
                                                         const std::wstring& name);
    virtual std::shared_ptr<INamedObject> GetNamedObjectById(IdentifierWithType id);
    // The rule at a position of a section's rules in order (GetRules);
    // empty past the end or for a section outside 1..5.
    std::shared_ptr<IRule> GetRuleAt(RuleType type, std::size_t position);
    // The rule with this identifier (any creation type) for which matches
    // holds that a search of the sections in the given order, each in
    // ascending order id, meets first; empty when none. Without matches
    // every rule of the identifier counts.
    std::shared_ptr<IRule> FindRuleInSections(
        std::uint32_t identifier, const std::vector<RuleType>& searchOrder,
        const std::function<bool(const IRule&)>& matches = nullptr);
    // The section of a rule element by its kind. Throws std::runtime_error
    // "fwcommon::XmlReader::GetRuleType.. Unsupported type" for a plain Rule.
    virtual RuleType GetRuleType(const Sarvo::Rule& rule);

    // Process-wide order-id counters, one per creation type (Generated
    // from 100000, Policy from 200000, User from 300000, Post from
    // 2000000000). createOrderId hands out the next one; a creation type
    // other than 1..3 uses the counter of Generated. A counter never
    // wraps: at kLargestOrderId createOrderId throws std::overflow_error
    // ("no order id is left after 9223372036854775807") and the counter
    // stays. Any thread may call them.
    static constexpr std::int64_t kLargestOrderId = std::numeric_limits<std::int64_t>::max();
    static std::int64_t createOrderId(CreationType creationType);
    // Raises the counter to orderId when that is larger, else steps it by
    // one (it stays at kLargestOrderId); returns the new value. 0 and no
    // change for a type outside 0..3.
    static std::int64_t UpdateOrderId(std::int64_t orderId, CreationType creationType);

    // The live document, for reading only, after the rule index is built
    // (so its rule identifiers are the corrected ones). Valid until the
    // document is next changed.
    const Sarvo::PolicyType& GetDocument();

    // Resolves the named-object references of the document's named objects
    // and rules against a list of objects held elsewhere (a separate
    // named-objects document); a rule may also name an object of its own
    // document. Logs at level 4 and throws std::runtime_error when one is
    // missing.
    void ResolveNamedObjects(std::shared_ptr<const NamedObjectList> objects);

private:
    class RuleListener;
    class NamedObjectListener;

    // Lazy builds.
    void EnsureRulesParsed();
    void ParseRules();
    // Section, identifier and creation type of an indexed rule.
    using RuleHandleKey = std::tuple<int, std::uint32_t, int>;
    using RuleHandles = std::map<RuleHandleKey, std::shared_ptr<IRule>>;
    RuleHandles TakeIndexedRules();
    static RuleHandleKey KeyOf(const IRule& rule);
    std::shared_ptr<Rule> HandleFor(RuleHandles& previous, RuleType type,
                                    const Sarvo::Rule& element, bool sharing);
    void CorrectRuleIdentifier(Sarvo::Rule& element, IdentifierGenerator& generator);
    void RaiseOrderCounters(const std::map<CreationType, std::int64_t>& largestOrderIds);
    void EnsureOptionsParsed();
    void EnsureNamedObjectsParsed();
    void ParseNamedObjects(const NamedObjectList& previous = NamedObjectList());
    void ReadNamedObjectMembers(const std::vector<Sarvo::NamedObject*>& elements,
                                const std::vector<bool>& reused);
    void AttachListener(const std::shared_ptr<INamedObject>& object);
    void DetachListener(INamedObject& object);
    [[noreturn]] void ReportMissingReference(NamedObjectType kind, int id,
                                             const NamedObjectList& candidates);
    Sarvo::NamedObject* ElementOf(const INamedObject& object);
    void WriteBack(INamedObject& object);
    void WriteBackListed(const INamedObject& object);
    bool EraseNamedObject(NamedObjectList::iterator position);

    // The live document for reading, and for changing: the latter first
    // makes sure the committed snapshot is a tree of its own, and the rule
    // handles sharing elements share the snapshot's.
    const Sarvo::PolicyType& Live() const { return *live_; }
    Sarvo::PolicyType& MutableLive();

    std::shared_ptr<IdentifierGenerator> GeneratorFor(CreationType creationType);
    SectionIndex* Section(RuleType type);
    SectionIndex& SectionForEdit(RuleType type);
    std::shared_ptr<IRule> StoreRule(RuleType type, std::shared_ptr<IRule> rule);
    std::shared_ptr<IRule> HandleTakingOver(RuleType type, const Sarvo::Rule& element);
    // The next order id of the creation type that no rule of the section
    // holds; none when the counter has reached kLargestOrderId.
    std::optional<std::int64_t> FreeOrderId(RuleType type, CreationType creationType);
    // Moves a just-created rule from where its order id sorts it to
    // position (the 0-based place in the section; -1 the last place).
    void PlaceNewRule(RuleType type, std::int64_t orderId, std::int32_t position);
    bool MoveRuleAt(SectionIndex& section, std::int64_t orderId, std::int32_t shift);
    void ReplaceIndexedRule(RuleType type, const Sarvo::Rule& liveElement);
    void EraseIndexedRule(const Sarvo::Rule& liveElement);
    void LogRuleDump(std::uint32_t identifier);
    std::wstring RuleDump(std::uint32_t identifier);
    std::wstring LogPrefix() const;

    std::shared_ptr<Sarvo::PolicyType> live_;
    std::shared_ptr<Sarvo::PolicyType> snapshot_;  // empty while it equals live_
    // Handles built while live_ was the committed document share its rule
    // elements rather than copy them.
    BoundRuleHandles boundRules_;
    RuleIdTable rulesById_;  // every indexed rule; the sections keep it current
    std::array<std::unique_ptr<SectionIndex>, 5> sections_;
    LiveRuleLocator locator_;
    std::vector<std::wstring> optionNames_;
    std::shared_ptr<NamedObjectList> namedObjects_;
    std::map<std::uint32_t, IdentifierWithType> identifierIndex_;
    // Per named object, where each member of its element stands in it, so
    // that writing the object back loses nothing the element held.
    std::unordered_map<const INamedObject*, MemberOrigins> memberOrigins_;
    NamedObjectList addedNamedObjects_;
    NamedObjectList removedNamedObjects_;
    // Rules removed since the last commit or rollback, and the handles a
    // rollback took out of the index for the next build.
    RuleList removedRules_;
    RuleHandles rulesBeforeRollback_;
    // The listener of each object of the list (and of no other object).
    std::unordered_map<const INamedObject*, std::shared_ptr<NamedObjectListener>>
        namedObjectListeners_;
    std::shared_ptr<RuleListener> ruleListener_;
    CreationType creationType_;
    std::wstring dataname_;
    std::shared_ptr<GeneratorRegistry> registry_;

    bool optionsChanged_ = false;
    bool rulesChanged_ = false;
    bool namedObjectsChanged_ = false;
    bool firstParseDone_ = false;
    bool rulesParsed_ = false;
    bool optionsParsed_ = false;
    bool namedObjectsParsed_ = false;
};

}  // namespace fwcommon
