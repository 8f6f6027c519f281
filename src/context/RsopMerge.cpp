#include "context/RsopMerge.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include <fwcommon/LogFacility.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/StringUtilities.h>
#include "document/DirectPolicyWriter.h"
#include "store/RuleElements.h"

namespace fwcommon {

namespace {

void Log(const std::wstring& message, int level) {
    GetLibLogFacility().Log(L"'GetRSOP': " + message, level);
}

constexpr std::int64_t kLargestOrderId = std::numeric_limits<std::int64_t>::max();

std::string NarrowName(const std::wstring& name) {
    std::string narrow;
    StringUtilities::WideStringToMultiByteString(name, narrow);
    return narrow;
}

// Place of a section in the resultant document; rules of no section last.
int SectionRank(const Sarvo::Rule& rule) {
    const RuleType section = SectionOf(rule);
    return section == 0 ? 6 : static_cast<int>(section);
}

}  // namespace

RsopMerge::RsopMerge(std::unique_ptr<Sarvo::PolicyType> base,
                     std::shared_ptr<const Generators> generators)
    : base_(std::move(base)),
      result_(std::make_unique<Sarvo::PolicyType>(*base_)),
      generators_(generators),
      objects_(std::move(generators)) {
    result_->Rules().Rule().clear();
    result_->NamedObjects().reset();
    result_->Options().reset();
    Add(*base_);
}

void RsopMerge::Add(const Sarvo::PolicyType& document) {
    RsopObjectMerge::Renumbering renumbering;
    if (document.NamedObjects()) {
        if (!result_->NamedObjects()) {
            result_->NamedObjects(Sarvo::NamedObjects());
        }
        renumbering = objects_.Add(*document.NamedObjects(), *result_->NamedObjects());
    }
    for (const Sarvo::Rule& rule : document.Rules().Rule()) {
        MergedRule merged{&rule, nullptr, SectionRank(rule), rule.RuleId(), rule.OrderId()};
        const CreationType creationType = CreationTypeOf(rule);
        if (renumbering.Changes(rule.ConditionSet(), creationType)) {
            merged.rewritten.reset(rule._clone());
            renumbering.Rewrite(merged.rewritten->ConditionSet(), creationType);
            merged.rule = merged.rewritten.get();
        }
        AddRule(std::move(merged));
    }
    if (document.Options()) {
        for (const Sarvo::Option& option : document.Options()->Option()) {
            AddOption(option);
        }
    }
}

void RsopMerge::AddRule(MergedRule merged) {
    const Sarvo::Rule& rule = *merged.rule;
    const CreationType creationType = CreationTypeOf(rule);
    if (!NoteRuleKey(RuleKey(IdentifierOf(rule), creationType))) {
        const std::uint32_t identifier = FreeIdentifier(creationType);
        Log(L"rule '" + rule.Name() + L"' renumbered from " + std::to_wstring(merged.ruleId) +
                L" to " + std::to_wstring(identifier),
            kLogRoutine);
        merged.ruleId = identifier;
        NoteRuleKey(RuleKey(identifier, creationType));
    }
    rules_.push_back(std::move(merged));
}

// Records a merged rule's key; false when an earlier rule holds it. A spare
// generator of the creation type learns the identifier at once, so that
// finding a free one never walks the merged rules again.
bool RsopMerge::NoteRuleKey(const RuleKey& key) {
    if (!ruleKeys_.insert(key).second) {
        return false;
    }
    auto spare = spare_.find(key.second);
    if (spare != spare_.end()) {
        spare->second.MarkIdentifierAsBusy(key.first);
    }
    return true;
}

// A free identifier of the creation type: free in the caller's generator
// and held by no rule merged so far.
std::uint32_t RsopMerge::FreeIdentifier(CreationType creationType) {
    auto spare = spare_.find(creationType);
    if (spare == spare_.end()) {
        IdentifierGenerator generator;
        if (generators_) {
            const auto found = generators_->find(creationType);
            if (found != generators_->end() && found->second) {
                generator = *found->second;
            }
        }
        spare = spare_.emplace(creationType, generator).first;
        for (const RuleKey& key : ruleKeys_) {
            if (key.second == creationType) {
                spare->second.MarkIdentifierAsBusy(key.first);
            }
        }
    }
    return spare->second.GenerateIdentifier();
}

void RsopMerge::AddOption(const Sarvo::Option& option) {
    if (!optionKeys_.emplace(option.Name(), static_cast<int>(option.CreationType())).second) {
        return;
    }
    if (!result_->Options()) {
        result_->Options(Sarvo::Options());
    }
    result_->Options()->Option().push_back(option);
}

// Section order, and within a section ascending order ids, each its own.
void RsopMerge::PlaceRules() {
    std::stable_sort(rules_.begin(), rules_.end(), [](const auto& left, const auto& right) {
        if (left.section != right.section) {
            return left.section < right.section;
        }
        return left.orderId < right.orderId;
    });
    MakeOrderIdsUnique();
}

// A rule whose order id an earlier rule of its section already holds (or
// passed) takes the next one above.
void RsopMerge::MakeOrderIdsUnique() {
    for (std::size_t i = 1; i < rules_.size(); ++i) {
        const MergedRule& previous = rules_[i - 1];
        MergedRule& rule = rules_[i];
        if (previous.section == rule.section && rule.orderId <= previous.orderId) {
            if (previous.orderId == kLargestOrderId) {
                throw std::overflow_error(
                    "rule '" + NarrowName(rule.rule->Name()) + "' needs an order id after " +
                    std::to_string(kLargestOrderId) + ", the largest one a rule can have");
            }
            Log(L"rule '" + rule.rule->Name() + L"' moved from order id " +
                    std::to_wstring(rule.orderId) + L" to " + std::to_wstring(previous.orderId + 1),
                kLogRoutine);
            rule.orderId = previous.orderId + 1;
        }
    }
}

// The result holding a copy of each placed rule with its identifiers.
std::unique_ptr<Sarvo::PolicyType> RsopMerge::TypedResult() {
    auto& sequence = result_->Rules().Rule();
    for (MergedRule& merged : rules_) {
        std::unique_ptr<Sarvo::Rule> copy =
            merged.rewritten ? std::move(merged.rewritten)
                             : std::unique_ptr<Sarvo::Rule>(merged.rule->_clone());
        copy->RuleId(merged.ruleId);
        copy->OrderId(merged.orderId);
        sequence.push_back(std::move(copy));
    }
    rules_.clear();
    return std::move(result_);
}

std::unique_ptr<Sarvo::PolicyType> RsopMerge::Finish() {
    PlaceRules();
    return TypedResult();
}

std::vector<unsigned char> RsopMerge::Write() {
    PlaceRules();
    std::vector<document::RuleWithIds> placed;
    placed.reserve(rules_.size());
    for (const MergedRule& merged : rules_) {
        placed.push_back(document::RuleWithIds{merged.rule, merged.ruleId, merged.orderId});
    }
    std::vector<unsigned char> bytes;
    if (document::WritePolicyDirect(*result_, placed, bytes)) {
        return bytes;
    }
    // What the direct writer does not reproduce, the binding writes.
    return WritePolicyDocument(*TypedResult());
}

}  // namespace fwcommon
