#include "context/RsopMerge.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
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
    : result_(std::move(base)), generators_(generators), objects_(std::move(generators)) {
    auto own = std::make_unique<Sarvo::PolicyType>(*result_);
    result_->Rules().Rule().clear();
    result_->NamedObjects().reset();
    result_->Options().reset();
    Add(*own);
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
        std::unique_ptr<Sarvo::Rule> copy(rule._clone());
        renumbering.Rewrite(copy->ConditionSet(), CreationTypeOf(rule));
        AddRule(std::move(copy));
    }
    if (document.Options()) {
        for (const Sarvo::Option& option : document.Options()->Option()) {
            AddOption(option);
        }
    }
}

void RsopMerge::AddRule(std::unique_ptr<Sarvo::Rule> copy) {
    const CreationType creationType = CreationTypeOf(*copy);
    if (!NoteRuleKey(RuleKey(IdentifierOf(*copy), creationType))) {
        const std::uint32_t identifier = FreeIdentifier(creationType);
        Log(L"rule '" + copy->Name() + L"' renumbered from " + std::to_wstring(copy->RuleId()) +
                L" to " + std::to_wstring(identifier),
            kLogRoutine);
        copy->RuleId(identifier);
        NoteRuleKey(RuleKey(identifier, creationType));
    }
    rules_.push_back(std::move(copy));
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

// Within a section the rules stand in ascending order id; a rule whose
// order id an earlier rule of its section already holds (or passed) takes
// the next one above, so that every order id of a section is its own.
void RsopMerge::MakeOrderIdsUnique() {
    for (std::size_t i = 1; i < rules_.size(); ++i) {
        const Sarvo::Rule& previous = *rules_[i - 1];
        Sarvo::Rule& rule = *rules_[i];
        if (SectionRank(previous) == SectionRank(rule) && rule.OrderId() <= previous.OrderId()) {
            if (previous.OrderId() == kLargestOrderId) {
                throw std::overflow_error(
                    "rule '" + NarrowName(rule.Name()) + "' needs an order id after " +
                    std::to_string(kLargestOrderId) + ", the largest one a rule can have");
            }
            Log(L"rule '" + rule.Name() + L"' moved from order id " +
                    std::to_wstring(rule.OrderId()) + L" to " +
                    std::to_wstring(previous.OrderId() + 1),
                kLogRoutine);
            rule.OrderId(previous.OrderId() + 1);
        }
    }
}

std::unique_ptr<Sarvo::PolicyType> RsopMerge::Finish() {
    std::stable_sort(rules_.begin(), rules_.end(), [](const auto& left, const auto& right) {
        const int leftRank = SectionRank(*left);
        const int rightRank = SectionRank(*right);
        if (leftRank != rightRank) {
            return leftRank < rightRank;
        }
        return left->OrderId() < right->OrderId();
    });
    MakeOrderIdsUnique();
    auto& sequence = result_->Rules().Rule();
    for (auto& rule : rules_) {
        sequence.push_back(std::move(rule));
    }
    rules_.clear();
    return std::move(result_);
}

}  // namespace fwcommon
