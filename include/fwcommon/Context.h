#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <boost/any.hpp>
#include <boost/function.hpp>
#include <boost/optional.hpp>

#include <fwcommon/CoreOperationalTypes.h>
#include <fwcommon/DomainTypes.h>
#include <fwcommon/IXmlReader.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/NetworkInterface.h>
#include <fwcommon/RuleInfo.h>
#include <fwcommon/RuleType.h>
#include <fwcommon/SignalConnector.h>
#include <fwcommon/export.h>

namespace Sarvo {
class PolicyType;
class Rule;
}  // namespace Sarvo

namespace fwcommon {

class IDomainObject;
class INamedObject;
class IRule;
class IVpnNode;
class PrivateObjectListener;
class XmlReader;

// Identifier generators by creation type, shared by every reader of one
// Context so that identifiers are unique per creation type across all its
// documents.
using GeneratorRegistry = std::map<CreationType, std::shared_ptr<IdentifierGenerator>>;

// The policy workspace of one caller: registers policy documents under
// their datanames, keeps one document store per document and routes every
// rule, named-object and option operation to the store of the dataname
// given, announcing each change through its private listener and the
// signals of SignalConnector. It also keeps what the host tells it about
// the node (VPN nodes, interfaces, operational mode), merges all documents
// into the resultant policy and finds the rules and groups that depend on
// a named object.
//
// Ownership: the Context owns its registry, the stores it builds, the
// identifier generators and its listener. Rules and named objects are
// handed out behind shared pointers and may outlive the Context.
//
// Datanames: most operations first check the dataname. An empty or
// unregistered dataname is logged at level 4, with every registered
// dataname and the rules of its non-empty sections, and refused with
// std::runtime_error "<function>.Dataname is empty" or
// "<function>.Dataname not found" (function as "fwcommon::Context::GetRules").
// A dataname registered twice keeps its first entry; the second one is
// reachable only by removing the first.
//
// Documents: readers validate against the rules schema built into the
// library unless the host sets a schema file with SetSchemaPath. A document
// that fails to load leaves its entry registered without a store; such an
// entry behaves as a document with empty rule sections.
//
// Threads: no locks; one thread at a time uses a Context (the signals may
// be connected from any thread).
class FWCOMMON_EXPORT Context : public SignalConnector {
public:
    // Editing mode of one rule section or named-object kind of a document.
    struct Modes {
        enum Enum : std::int32_t {
            eReadOnly = 0,
            eEditable = 1,
        };
    };
    // Action of a new filtering rule: 0 passes, any other value drops.
    struct RuleActions {
        enum Enum : std::int32_t {
            ePass = 0,
            eDrop = 1,
        };
    };
    // Kind of a pending change.
    enum FwObjectState : std::int32_t {
        eAdded = 0,
        eModified = 1,
        eRemoved = 2,
        eReordered = 3,
    };

    // Editing modes of a document, keyed by a RuleType or NamedObjectType
    // value (one key space). Mode 1 means editable.
    using ModesMap = std::map<int, Modes::Enum>;
    // The latest pending change: a RuleType or NamedObjectType value and
    // the kind of change; empty when nothing is pending.
    using Change = boost::optional<std::pair<int, FwObjectState>>;

    // A named object kept by the Context and the datanames of the
    // documents that hold it (no duplicates).
    struct InternalNamedObject {
        std::shared_ptr<INamedObject> object;
        std::vector<std::wstring> datanames;
    };
    using NamedObjectRecords = std::vector<std::shared_ptr<InternalNamedObject>>;

    // One registered document.
    struct Data {
        std::wstring name;                  // display name
        std::shared_ptr<XmlReader> reader;  // empty when the document did not load
        NamedObjectRecords namedObjects;
        CreationType creationType = Generated;
    };
    using RegistryEntry = std::pair<std::wstring, std::pair<Data, ModesMap>>;
    using Registry = std::vector<RegistryEntry>;
    using ExternalContextFunction = boost::function<std::shared_ptr<Context>()>;
    // Rules that refer to a named object, by dataname.
    using RuleDependencies = std::map<std::wstring, std::vector<RuleInfo>>;

    // "NamedObjects.xml", the customary dataname of the named-objects
    // document.
    static const std::wstring NamedObjectsDataname;

    // The named-objects dataname defaults to the empty string. Creates the
    // identifier generators of the four creation types and the listener.
    explicit Context(const std::wstring& namedObjectsDataname = std::wstring(),
                     ExternalContextFunction externalContext = ExternalContextFunction());
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    // Detaches the listener from the kept named objects and removes every
    // document (each removal is logged).
    ~Context() override;

    // Pending changes of every document are dropped or made permanent; the
    // change records are cleared. Both return true.
    bool RollbackChanges() override;
    bool CommitChanges() override;

    // ---- Named objects: edits ----
    // Text that a policy document cannot hold (NUL, other C0 controls,
    // surrogate halves, U+FFFE, U+FFFF, beyond U+10FFFF) in a name, a
    // description, an option name or value, or the name of a rule handed
    // to CreateRule, CreateNatRule or UpdateRule, throws
    // std::invalid_argument "<operation>.The name holds U+0001, which a
    // policy document cannot hold" and changes nothing.
    // The objects of a document are the Context's own records of it (the
    // document's objects at registration, then every edit made here); the
    // document's store follows each edit. Every operation first checks the
    // dataname (see above) under "fwcommon::Context::<operation>".

    // A new object of the kind with a fresh internal number and the
    // document's creation type, added to the document and announced as
    // added. Empty, with nothing changed, when the document's mode for the
    // kind is not editable.
    virtual std::shared_ptr<INamedObject> CreateNamedObject(const std::wstring& dataname,
                                                            const std::wstring& name,
                                                            const std::wstring& description,
                                                            NamedObjectType type);
    // The kept object of the same identifier and creation type takes over
    // the content of object (pointers handed out earlier see it) and is
    // announced as modified; an object the document does not hold is added
    // and announced as added. False when the kind is not editable; an
    // empty pointer throws std::invalid_argument
    // "fwcommon::Context::UpdateNamedObject.Empty named object".
    virtual bool UpdateNamedObject(const std::wstring& dataname,
                                   const std::shared_ptr<INamedObject>& object);
    // Removes the object from the document, its references from the
    // rules of every registered document and its entries from the other
    // objects of the document that include or exclude it; those rules and
    // objects are announced as modified. RemoveNamedObjectById announces no removal of the object
    // itself, the other two do. A rollback brings the object back either
    // way (also to a dataname that has no document), unless it was created
    // since the last commit or rollback. False (logged at level 3 with " - not found") when the
    // document holds no such object; the index form throws std::out_of_range "invalid vector<T>
    // subscript" for an index at or beyond the count.
    virtual bool RemoveNamedObjectById(const std::wstring& dataname, IdentifierWithType id);
    virtual bool RemoveNamedObject(const std::wstring& dataname, CreationType creationType,
                                   const std::wstring& name);
    virtual bool RemoveNamedObject(const std::wstring& dataname, unsigned int index);
    // New lists of the kept objects in the order they were added; the
    // first only of the kind.
    virtual std::shared_ptr<const NamedObjectList> GetNamedObjects(const std::wstring& dataname,
                                                                   NamedObjectType type) const;
    virtual std::shared_ptr<const NamedObjectList> GetNamedObjects(
        const std::wstring& dataname) const;

    // Change announcements, handed to the Context's listener, which raises
    // objectModified, objectAdded and objectRemoved. A modification for an
    // unregistered dataname is not announced.
    virtual void MarkDomainObjectAsModified(const std::wstring& dataname, DomainObjectType type,
                                            CreationType creationType, unsigned long identifier);
    virtual void MarkDomainObjectAsAdded(const std::wstring& dataname,
                                         const std::shared_ptr<IDomainObject>& object);
    virtual void MarkDomainObjectAsRemoved(const std::wstring& dataname, DomainObjectType type,
                                           CreationType creationType, unsigned long identifier);

    // ---- Documents ----

    // Registers a document: bytes of UTF-8 XML (none for a new empty
    // document), the creation type of its own rules and objects, its
    // editing modes and a display name (the dataname when empty). The entry
    // is registered before the document is parsed, so a document the store
    // rejects (its xml_schema::exception passes through) stays registered
    // without a store. Throws std::runtime_error for an empty dataname,
    // registering nothing.
    void AppendXmlReader(const std::wstring& dataname, const std::vector<unsigned char>& bytes,
                         CreationType creationType, const ModesMap& modes,
                         const std::wstring& name);
    // As AppendXmlReader, for a document the caller has already parsed and
    // validated (ParsePolicyDocument with the Context's schema): the store
    // takes it as it is instead of parsing bytes again. A null document
    // throws std::invalid_argument, registering nothing.
    void AppendParsedDocument(const std::wstring& dataname,
                              std::unique_ptr<Sarvo::PolicyType> document,
                              CreationType creationType, const ModesMap& modes,
                              const std::wstring& name);
    // Unregisters the first entry of the dataname; an unknown dataname only
    // gets the log line.
    void RemoveXmlReader(const std::wstring& dataname);
    // Replaces out by the document's current content. Throws
    // std::runtime_error "fwcommon::Context::GetXmlData.No document" when
    // the entry has no store, xml_schema::serialization when writing fails.
    void GetXmlData(const std::wstring& dataname, std::vector<unsigned char>& out);
    // The store of the dataname's first entry, for inspecting the state it
    // holds; empty for an unknown dataname or a document that did not load.
    // Edits made on it directly bypass the Context's records.
    std::shared_ptr<XmlReader> GetXmlReader(const std::wstring& dataname) const;
    // The datanames of all entries in registration order.
    std::vector<std::wstring> GetDatanames() const;
    // The display name of the dataname's entry, or the dataname itself when
    // it is not registered.
    std::wstring GetDatanameName(const std::wstring& dataname) const;
    // The dataname of the first document holding the object, or "" (logged
    // at level 4, never thrown) when none does or the pointer is empty.
    // For a rule of no known kind, std::runtime_error as GetRuleType.
    std::wstring GetDataname(const std::shared_ptr<IRule>& rule) const;
    std::wstring GetDataname(const std::shared_ptr<INamedObject>& object) const;
    // The result of the external-context function, empty without one.
    std::shared_ptr<Context> GetExternalContext() const;

    // The schema file the readers of documents appended from now on
    // validate against; empty (the default) for the built-in rules schema.
    void SetSchemaPath(const std::wstring& schemaPath);
    const std::wstring& GetSchemaPath() const { return schemaPath_; }

    // ---- Rules ----
    // Indexes count within one section; an index at or beyond the count
    // throws std::out_of_range "invalid vector<T> subscript" before
    // anything is logged or changed. Errors of the store pass through.

    // The rules of a section in order (empty for a section outside 1..5).
    std::shared_ptr<const RuleList> GetRules(const std::wstring& dataname, RuleType type) const;
    std::shared_ptr<IRule> GetRule(const std::wstring& dataname, RuleType type, unsigned int index);
    // Empty when the document has no such rule.
    std::shared_ptr<IRule> GetRuleById(const std::wstring& dataname, IdentifierWithType id);
    // A new rule with an empty condition set at position priority (-1 for
    // the end): a translation in the NAT section, else a filter that
    // passes for action 0 and drops for any other value. Empty (logged at
    // level 3) for a section outside 1..5 or a document without a store.
    std::shared_ptr<IRule> CreateRule(const std::wstring& dataname, RuleType type,
                                      CreationType creationType, const std::wstring& name,
                                      RuleActions::Enum action, int priority);
    std::shared_ptr<IRule> CreateNatRule(const std::wstring& dataname, CreationType creationType,
                                         const std::wstring& name, int priority);
    // Stores the element in its section (replacing the rule with the same
    // RuleId, or adding it). True once stored; false (logged at level 3)
    // for a document without a store. An element of no known kind throws
    // as GetRuleType; an empty rule handle throws std::invalid_argument.
    bool UpdateRule(const std::wstring& dataname, const std::shared_ptr<Sarvo::Rule>& rule);
    bool UpdateRule(const std::wstring& dataname, const std::shared_ptr<IRule>& rule);
    // False, and nothing announced, when the store refuses.
    bool RemoveRule(const std::wstring& dataname, RuleType type, unsigned int index);
    // Moves the rule at index by priority places (a signed shift). The
    // change is announced for the section as a whole (creation type User,
    // identifier 0).
    bool ChangeRulePriority(const std::wstring& dataname, RuleType type, unsigned int index,
                            int priority);
    // True when the first entry of the dataname has mode 1 for the section;
    // false for an unregistered dataname.
    bool IsRulesEditable(const std::wstring& dataname, RuleType type) const;

    // The section of a rule element by its kind. Throws std::runtime_error
    // "fwcommon::Context::GetRuleType.. Unsupported type" for any other
    // element, an empty pointer included.
    static RuleType GetRuleType(const std::shared_ptr<Sarvo::Rule>& rule);
    // Throws std::invalid_argument for an empty pointer.
    static CreationType GetCreationType(const std::shared_ptr<Sarvo::Rule>& rule);
    // The identifier (low 32 bits of RuleId for an element) and creation
    // type. Throws std::invalid_argument for an empty pointer.
    static IdentifierWithType GetDomainObject(const std::shared_ptr<Sarvo::Rule>& rule);
    static IdentifierWithType GetDomainObject(const std::shared_ptr<IRule>& rule);
    static IdentifierWithType GetDomainObject(const std::shared_ptr<INamedObject>& object);

    // ---- Named objects: look-ups and registration ----

    // The kept object at the index; std::out_of_range "invalid vector<T>
    // subscript" at or beyond the count.
    std::shared_ptr<INamedObject> GetNamedObject(const std::wstring& dataname, unsigned int index);
    // The first kept object of the name and creation type; empty if none.
    std::shared_ptr<INamedObject> GetNamedObject(const std::wstring& dataname,
                                                 CreationType creationType,
                                                 const std::wstring& name);
    // Empty when the document keeps no object of this identity.
    std::shared_ptr<INamedObject> GetNamedObjectById(const std::wstring& dataname,
                                                     IdentifierWithType id) const;
    // Replaces the kept objects of the dataname by these, in this order,
    // registering the dataname (without a document, with this creation
    // type and these modes) when it is unknown. A document already
    // registered is not changed. Only an empty dataname is refused, and an
    // empty pointer in objects (std::invalid_argument
    // "fwcommon::Context::SetNamedObjects.Empty named object", nothing set).
    void SetNamedObjects(const std::wstring& dataname,
                         const std::vector<std::shared_ptr<INamedObject>>& objects,
                         CreationType creationType, const ModesMap& modes);
    // True when the first entry of the dataname has mode 1 for the kind;
    // false for an unregistered dataname.
    bool IsNamedObjectsEditable(const std::wstring& dataname, NamedObjectType type) const;
    // True when any document has any key (rule section or kind) in mode 1.
    bool IsNamedObjectsEditable() const;

    // ---- Options ----
    // Values are boost::any holding a std::wstring (see IXmlReader).

    // False for an unregistered dataname or a document without a store.
    bool HasOption(const std::wstring& dataname, CreationType creationType,
                   const std::wstring& name) const;
    // Empty any when the document has no such option or no store.
    boost::any GetOptionValue(const std::wstring& dataname, CreationType creationType,
                              const std::wstring& name) const;
    // Stores the value and announces the change as a modification of
    // family 256 with identifier 4294967295 (options are no domain
    // objects). Throws std::runtime_error "fwcommon::Context::SetOptionValue.
    // No document" for a document without a store, boost::bad_any_cast
    // for a value that holds no std::wstring.
    void SetOptionValue(const std::wstring& dataname, CreationType creationType,
                        const std::wstring& name, boost::any value);
    // Erases the option of this name and creation type and announces it
    // as SetOptionValue does; false, with nothing changed or announced,
    // when the document holds no such option. Throws std::runtime_error
    // "fwcommon::Context::RemoveOption.No document" for a document
    // without a store.
    bool RemoveOption(const std::wstring& dataname, CreationType creationType,
                      const std::wstring& name);
    // The names of the document's options in document order, a name once
    // per option that carries it; empty for a document without a store.
    std::vector<std::wstring> GetOptionNames(const std::wstring& dataname) const;

    // ---- Nodes, interfaces, operational mode ----

    // The list is shared with the caller, not copied; empty until set.
    void SetNetworkNodes(std::shared_ptr<const VpnNodeList> nodes);
    std::shared_ptr<const VpnNodeList> GetNetworkNodes() const;
    // Throws std::out_of_range "fwcommon::Context::GetNetworkNode.Index out
    // of range" without a list or for an index at or beyond its size.
    std::shared_ptr<IVpnNode> GetNetworkNode(unsigned int index) const;
    void SetNetworkInterfaces(const std::vector<NetworkInterface>& interfaces);
    const std::vector<NetworkInterface>& GetNetworkInterfaces() const;
    // Mode eLowNumberingMode makes named-object internal numbers start at
    // 1, any other at 1000000; it matters only until the first document is
    // appended or the first named object is made in the process.
    void SetOperationalMode(CoreOperationalTypes mode);
    CoreOperationalTypes GetOperationalMode() const;

    // ---- Resultant policy ----

    // Writes into out one valid document that merges, in registration
    // order, the rules, named objects and options of every registered
    // document with a store: rules sorted by section (VPN, NAT,
    // tunnelling, local, transit) and order id, a named object kept once
    // per identifier and creation type (the first one met), an option once
    // per name and creation type (the first value met), a rule whose
    // identifier is taken already given a free one. Its application time
    // is time (seconds since 1970-01-01 UTC, 0 for now) and its rollback
    // period is period. The registered documents are not changed, except
    // that their rule indexes are built (see XmlReader). Throws
    // std::overflow_error, and leaves out as it was, when a rule would need
    // an order id above 9223372036854775807 to keep its place.
    void GetRSOP(std::vector<unsigned char>& out, std::int64_t time, int period);

    // ---- Dependency search ----

    // Appends under each dataname (registration order) a record per rule
    // of that document that refers to the object; result is not cleared.
    // With announce set, the references are also removed from the rules
    // and each such rule is announced as modified.
    void SearchRulesForNamedObject(const std::shared_ptr<INamedObject>& object,
                                   RuleDependencies& result, bool announce);
    // The same search, changing and announcing nothing.
    void DetermineRulesDependencies(const std::shared_ptr<INamedObject>& object,
                                    RuleDependencies& result);

    // ---- Change tracking ----

    // True when any document has uncommitted changes.
    bool HasChanges() const;
    // The latest pending change of rules, or of named objects.
    Change GetRulesChanges() const;
    Change GetNamedObjectsChanges() const;

private:
    friend class PrivateObjectListener;

    Registry::iterator find(const std::wstring& dataname);
    Registry::const_iterator find(const std::wstring& dataname) const;
    // The entry of a dataname that passed the dataname check.
    RegistryEntry& CheckedEntry(const char* function, const std::wstring& dataname);
    const RegistryEntry& CheckedEntry(const char* function, const std::wstring& dataname) const;
    // True when the first entry of the dataname has mode 1 under the key (a
    // RuleType or NamedObjectType value).
    bool HasEditableMode(const std::wstring& dataname, int key) const;
    void SetRulesChange(RuleType type, FwObjectState state, bool both);
    void ClearChanges();
    void RecordNamedObjects(RegistryEntry& entry);
    // Registers the entry, then gives it the store that makeReader builds;
    // function names the caller in the refusal of an empty dataname.
    void AppendEntry(const char* function, const std::wstring& dataname, CreationType creationType,
                     const ModesMap& modes, const std::wstring& name,
                     const boost::function<std::shared_ptr<XmlReader>()>& makeReader);
    std::shared_ptr<InternalNamedObject> KeepNamedObject(
        RegistryEntry& entry, const std::shared_ptr<INamedObject>& object);
    void RemoveKeptNamedObject(const std::wstring& dataname, std::shared_ptr<INamedObject> object,
                               bool announce);
    void RemoveFromIncludingObjects(const std::wstring& dataname, const INamedObject& object);
    void AnnounceRuleDependencies(const RuleDependencies& found);

    Registry registry_;
    std::shared_ptr<GeneratorRegistry> generators_;
    ExternalContextFunction externalContext_;
    std::shared_ptr<const VpnNodeList> networkNodes_;
    std::vector<NetworkInterface> networkInterfaces_;
    CoreOperationalTypes operationalMode_ = eStandardMode;
    std::uint32_t internalNumberBase_ = 1000000;
    std::wstring namedObjectsDataname_;
    std::shared_ptr<PrivateObjectListener> listener_;
    std::wstring schemaPath_;
    Change rulesChange_;
    Change rulesChangeOfCreation_;
    Change namedObjectsChange_;
    Change namedObjectsChangeOfCreation_;
};

}  // namespace fwcommon
