#include "store/XmlReader.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <sstream>
#include <stdexcept>

#include <fwcommon/IRule.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/StringUtilities.h>
#include "domain/Rule.h"
#include "store/ReaderListeners.h"
#include "store/RuleElements.h"
#include "store/StagedGenerators.h"
#include "store/UtcTime.h"
#include "support/ComposedLog.h"
#include "support/IdentifierRanges.h"

namespace fwcommon {
namespace {

constexpr wchar_t kNewDocumentVersion[] = L"1.0";
constexpr long long kNewDocumentRollbackPeriod = 900;

std::unique_ptr<Sarvo::PolicyType> NewDocument() {
    return std::make_unique<Sarvo::PolicyType>(
        Sarvo::Rules(), Sarvo::Properties(kNewDocumentVersion, UtcDateTime(std::time(nullptr)),
                                          kNewDocumentRollbackPeriod));
}

// The process-wide order-id counters: the last order id handed out per
// creation type.
std::atomic<std::int64_t>& OrderCounter(CreationType creationType) {
    static std::atomic<std::int64_t> counters[] = {{OrderCounterStartOf(Generated)},
                                                   {OrderCounterStartOf(Policy)},
                                                   {OrderCounterStartOf(User)},
                                                   {OrderCounterStartOf(Post)}};
    return counters[creationType >= Policy && creationType <= Post ? creationType : Generated];
}

// The identifiers a generator made for a document hands out, by the
// document's creation type.
std::shared_ptr<IdentifierGenerator> NewGeneratorFor(CreationType documentType) {
    const IdentifierRange range = IdentifierRangeOf(documentType);
    return std::make_shared<IdentifierGenerator>(range.first, range.last);
}

void Log(const std::wstring& message, int level) {
    GetLibLogFacility().Log(message, level);
}

}  // namespace

XmlReader::XmlReader(const std::vector<unsigned char>& bytes, CreationType creationType,
                     const std::wstring& dataname, const std::wstring& schemaPath,
                     std::shared_ptr<GeneratorRegistry> registry)
    : XmlReader(bytes.empty() ? NewDocument() : ParsePolicyDocument(bytes, schemaPath),
                creationType, dataname, std::move(registry)) {}

XmlReader::XmlReader(std::unique_ptr<Sarvo::PolicyType> document, CreationType creationType,
                     const std::wstring& dataname, std::shared_ptr<GeneratorRegistry> registry)
    : ruleListener_(std::make_shared<RuleListener>(*this)),
      creationType_(creationType),
      dataname_(dataname),
      registry_(registry ? std::move(registry) : std::make_shared<GeneratorRegistry>()) {
    live_ = std::move(document);
}

XmlReader::~XmlReader() {
    // Rule handles handed out may outlive the reader and still hold its
    // listeners; from now on those listeners ignore what they hear.
    ruleListener_->Detach();
    for (auto& [object, listener] : namedObjectListeners_) {
        listener->Detach();
    }
    // The index lets its handles go first: only the handles callers keep
    // take copies of the elements they share.
    for (auto& section : sections_) {
        section.reset();
    }
    rulesById_.Clear();
    removedRules_.clear();
    rulesBeforeRollback_.clear();
    boundRules_.ReleaseAll();
}

Sarvo::PolicyType& XmlReader::MutableLive() {
    if (!snapshot_) {
        std::shared_ptr<Sarvo::PolicyType> copy(live_->_clone());
        boundRules_.MoveTo(live_->Rules().Rule(), copy);
        snapshot_ = std::move(copy);
    }
    return *live_;
}

std::wstring XmlReader::LogPrefix() const {
    return L"'XmlReader:" + dataname_ + L"': ";
}

std::shared_ptr<IdentifierGenerator> XmlReader::GeneratorFor(CreationType creationType) {
    auto& generator = (*registry_)[creationType];
    if (!generator) {
        generator = NewGeneratorFor(creationType_);
    }
    return generator;
}

SectionIndex* XmlReader::Section(RuleType type) {
    return type >= eVPNRules && type <= eTransitRules ? sections_[type - 1].get() : nullptr;
}

SectionIndex& XmlReader::SectionForEdit(RuleType type) {
    auto& section = sections_.at(type - 1);
    if (!section) {
        section = std::make_unique<SectionIndex>(type, rulesById_);
    }
    return *section;
}

void XmlReader::EnsureRulesParsed() {
    if (!rulesParsed_) {
        ParseRules();
    }
}

void XmlReader::ParseRules() {
    // A rebuild after a rollback: handles callers keep stand for their
    // elements again.
    RuleHandles previous = std::move(rulesBeforeRollback_);
    rulesBeforeRollback_.clear();
    previous.merge(TakeIndexedRules());
    rulesById_.Clear();
    const bool correcting = !firstParseDone_;
    if (correcting && rulesChanged_) {
        // The build will be refused: keep the committed state free of the
        // corrections below.
        MutableLive();
    }
    std::map<CreationType, std::int64_t> largestOrderIds;
    // A build that fails takes no identifiers (the copies are dropped).
    StagedGenerators generators([this](CreationType type) { return GeneratorFor(type); });
    IdentifierGenerator& documentGenerator = generators.For(creationType_);
    // While live_ is the committed document, the handles share its
    // elements: the next change copies it first (MutableLive).
    const bool sharing = !snapshot_;
    boundRules_.StartBuild();
    Sarvo::Rules::Rule_sequence& elements = live_->Rules().Rule();
    for (std::size_t place = 0; place < elements.size(); ++place) {
        Sarvo::Rule& element = elements[place];
        const RuleType type = SectionOf(element);
        if (type == 0) {
            continue;
        }
        const CreationType elementType = CreationTypeOf(element);
        IdentifierGenerator& ownGenerator = generators.For(elementType);
        if (correcting) {
            CorrectRuleIdentifier(element, ownGenerator);
        }
        std::shared_ptr<Rule> rule = HandleFor(previous, type, element, sharing);
        if (rule->SharedElement() == &element) {
            boundRules_.Add(place, rule);
        }
        // Busy where availability was asked, so that a second rule of the
        // creation type with this RuleId is corrected; and busy for rules
        // the document creates.
        ownGenerator.MarkIdentifierAsBusy(rule->GetIdentifier());
        documentGenerator.MarkIdentifierAsBusy(rule->GetIdentifier());
        if (elementType >= Generated && elementType <= User) {
            auto& largest = largestOrderIds[elementType];
            largest = std::max<std::int64_t>(largest, element.OrderId());
        }
        SectionForEdit(type).Insert(element.OrderId(), rule);
    }
    boundRules_.FinishBuild();
    locator_.Invalidate();
    if (correcting) {
        RaiseOrderCounters(largestOrderIds);
    }
    if (rulesChanged_) {
        throw std::logic_error(StringUtilities::GetErrorString(
            "fwcommon::XmlReader::XmlReaderInternal::ParseRules",
            std::string(". Can't replace original xmlReader through pending changes")));
    }
    generators.HandOver();
    if (snapshot_ && (optionsChanged_ || namedObjectsChanged_)) {
        // Other edits are pending: they stay pending, and the committed
        // state takes only the corrected rules. (A later build corrects
        // nothing: its rules are the committed ones, whose elements
        // handles may share.)
        if (correcting) {
            snapshot_->Rules(live_->Rules());
        }
    } else {
        snapshot_.reset();
    }
    rulesParsed_ = true;
    firstParseDone_ = true;
}

// Empties the section indexes; their handles by section, identifier and
// creation type (the first of a repeated key).
XmlReader::RuleHandles XmlReader::TakeIndexedRules() {
    RuleHandles handles;
    for (auto& section : sections_) {
        if (!section) {
            continue;
        }
        for (const auto& [orderId, rule] : section->ByOrder()) {
            handles.emplace(KeyOf(*rule), rule);
        }
        section.reset();
    }
    return handles;
}

XmlReader::RuleHandleKey XmlReader::KeyOf(const IRule& rule) {
    const Sarvo::Rule& element = Rule::ElementOf(rule);
    return RuleHandleKey(SectionOf(element), IdentifierOf(element), CreationTypeOf(element));
}

// The handle of a previous index for the element, sharing the element or
// holding a copy of its content; else a new handle, sharing the element of
// the committed document or on a copy of it.
std::shared_ptr<Rule> XmlReader::HandleFor(RuleHandles& previous, RuleType type,
                                           const Sarvo::Rule& element, bool sharing) {
    const auto kept =
        previous.find(RuleHandleKey(type, IdentifierOf(element), CreationTypeOf(element)));
    if (kept != previous.end()) {
        std::shared_ptr<Rule> rule = std::dynamic_pointer_cast<Rule>(kept->second);
        previous.erase(kept);
        if (rule && (rule->SharedElement() == &element ||
                     AssignRuleElement(*rule->GetXmlRule(), element))) {
            return rule;
        }
    }
    if (sharing) {
        return std::make_shared<Rule>(std::shared_ptr<const Sarvo::Rule>(live_, &element));
    }
    return std::make_shared<Rule>(std::shared_ptr<Sarvo::Rule>(element._clone()));
}

void XmlReader::CorrectRuleIdentifier(Sarvo::Rule& element, IdentifierGenerator& generator) {
    // A RuleId outside the 32-bit range is no identifier at all, whatever
    // its low word.
    if (!IsRuleIdentifierValue(element.RuleId()) ||
        !generator.checkAvailability(IdentifierOf(element))) {
        element.RuleId(generator.GenerateIdentifier());
    }
}

void XmlReader::RaiseOrderCounters(const std::map<CreationType, std::int64_t>& largestOrderIds) {
    for (CreationType type : {User, Policy, Generated}) {
        auto found = largestOrderIds.find(type);
        if (found != largestOrderIds.end()) {
            UpdateOrderId(found->second, type);
        }
    }
}

std::int64_t XmlReader::createOrderId(CreationType creationType) {
    auto& counter = OrderCounter(creationType);
    std::int64_t last = counter.load();
    do {
        if (last == kLargestOrderId) {
            throw std::overflow_error("no order id is left after " +
                                      std::to_string(kLargestOrderId));
        }
    } while (!counter.compare_exchange_weak(last, last + 1));
    const std::int64_t orderId = last + 1;
    if (creationType == User) {
        Log(L"'XmlReader:createOrderId, orderId='" + std::to_wstring(orderId), kLogRoutine);
    }
    return orderId;
}

std::int64_t XmlReader::UpdateOrderId(std::int64_t orderId, CreationType creationType) {
    if (creationType < Generated || creationType > Post) {
        return 0;
    }
    auto& counter = OrderCounter(creationType);
    std::int64_t old = counter.load();
    std::int64_t raised = 0;
    do {
        raised = orderId > old ? orderId : (old == kLargestOrderId ? old : old + 1);
    } while (!counter.compare_exchange_weak(old, raised));
    if (creationType == User) {
        Log(L"'XmlReader:UpdateOrderId, origId='" + std::to_wstring(orderId) + L",currentId=" +
                std::to_wstring(old) + L",newId=" + std::to_wstring(raised),
            kLogRoutine);
    }
    return raised;
}

const Sarvo::PolicyType& XmlReader::GetDocument() {
    EnsureRulesParsed();
    return Live();
}

std::shared_ptr<const RuleList> XmlReader::GetRules(RuleType type) {
    EnsureRulesParsed();
    const SectionIndex* section = Section(type);
    return section ? section->Rules() : std::make_shared<const RuleList>();
}

std::shared_ptr<IRule> XmlReader::GetRuleAt(RuleType type, std::size_t position) {
    EnsureRulesParsed();
    const SectionIndex* section = Section(type);
    return section ? section->At(position) : nullptr;
}

std::shared_ptr<IRule> XmlReader::FindRuleInSections(
    std::uint32_t identifier, const std::vector<RuleType>& searchOrder,
    const std::function<bool(const IRule&)>& matches) {
    EnsureRulesParsed();
    const RuleIdTable::Entry* first = nullptr;
    std::size_t firstRank = searchOrder.size();
    rulesById_.ForEach(identifier, [&](const RuleIdTable::Entry& entry) {
        if (matches && !matches(*entry.rule)) {
            return;
        }
        const auto rank = static_cast<std::size_t>(
            std::find(searchOrder.begin(), searchOrder.end(), entry.section) - searchOrder.begin());
        if (rank < firstRank || (rank == firstRank && first && entry.orderId < first->orderId)) {
            first = &entry;
            firstRank = rank;
        }
    });
    return first ? first->rule : nullptr;
}

std::shared_ptr<IRule> XmlReader::GetRuleById(IdentifierWithType id) {
    EnsureRulesParsed();
    if (auto rule = rulesById_.Find(id.identifier, id.creationType)) {
        return rule;
    }
    LogRuleDump(id.identifier);
    return nullptr;
}

void XmlReader::LogRuleDump(std::uint32_t identifier) {
    LogComposed(kLogNotFound, [&] { return RuleDump(identifier); });
}

std::wstring XmlReader::RuleDump(std::uint32_t identifier) {
    std::wostringstream dump;
    dump << LogPrefix() << L"GetRule, can't find rule with id='" << identifier << L'\n';
    const std::pair<RuleType, const wchar_t*> headings[] = {{eLocalRules, L"LocalRules: \n"},
                                                            {eVPNRules, L"VpnRules: \n"},
                                                            {eTransitRules, L"TransitRules: \n"},
                                                            {eTunnelRules, L"TunnelRules: \n"},
                                                            {eNATRules, L"NatRules: \n"}};
    for (const auto& [type, heading] : headings) {
        dump << heading;
        if (const SectionIndex* section = Section(type)) {
            for (const auto& [orderId, rule] : section->ByOrder()) {
                dump << L'\t' << L"DomainObjectIdentifier=" << rule->GetIdentifier() << L", xmlId="
                     << Rule::ElementOf(*rule).RuleId() << L", orderId=" << orderId << L", name="
                     << rule->GetName() << L'\n';
            }
        }
    }
    return dump.str();
}

RuleType XmlReader::GetRuleType(const Sarvo::Rule& rule) {
    const RuleType type = SectionOf(rule);
    if (type == 0) {
        throw std::runtime_error(StringUtilities::GetErrorString(
            "fwcommon::XmlReader::GetRuleType", std::string(". Unsupported type")));
    }
    return type;
}

bool XmlReader::HasChanges() {
    return optionsChanged_ || rulesChanged_ || namedObjectsChanged_;
}

// The live document as UTF-8 bytes.
void XmlReader::GetXmlData(std::vector<unsigned char>& out) {
    EnsureRulesParsed();
    out = WritePolicyDocument(Live());
}

}  // namespace fwcommon
