#include "context/RsopMerge.h"

#include <algorithm>

#include <fwcommon/LogFacility.h>
#include "store/RuleElements.h"

namespace fwcommon {

namespace {

void Log(const std::wstring& message, int level) {
    GetLibLogFacility().Log(L"'GetRSOP': " + message, level);
}

// Place of a section in the resultant document; rules of no section last.
int SectionRank(const Sarvo::Rule& rule) {
    const RuleType section = SectionOf(rule);
    return section == 0 ? 6 : static_cast<int>(section);
}

}  // namespace

RsopMerge::RsopMerge(std::unique_ptr<Sarvo::PolicyType> base,
                     std::shared_ptr<const Generators> generators)
    : result_(std::move(base)), generators_(std::move(generators)) {
    auto own = std::make_unique<Sarvo::PolicyType>(*result_);
    result_->Rules().Rule().clear();
    result_->NamedObjects().reset();
    result_->Options().reset();
    Add(*own);
}

void RsopMerge::Add(const Sarvo::PolicyType& document) {
    for (const Sarvo::Rule& rule : document.Rules().Rule()) {
        AddRule(rule);
    }
    if (document.NamedObjects()) {
        AddNamedObjects(*document.NamedObjects());
    }
    if (document.Options()) {
        for (const Sarvo::Option& option : document.Options()->Option()) {
            AddOption(option);
        }
    }
}

void RsopMerge::AddRule(const Sarvo::Rule& rule) {
    std::unique_ptr<Sarvo::Rule> copy(rule._clone());
    const CreationType creationType = CreationTypeOf(rule);
    if (!NoteRuleKey(RuleKey(IdentifierOf(rule), creationType))) {
        const std::uint32_t identifier = FreeIdentifier(creationType);
        copy->RuleId(identifier);
        NoteRuleKey(RuleKey(identifier, creationType));
        Log(L"rule '" + rule.Name() + L"' renumbered from " + std::to_wstring(rule.RuleId()) +
                L" to " + std::to_wstring(identifier),
            2);
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

void RsopMerge::AddNamedObjects(const Sarvo::NamedObjects& objects) {
    if (!result_->NamedObjects()) {
        result_->NamedObjects(Sarvo::NamedObjects());
    }
    Sarvo::NamedObjects& target = *result_->NamedObjects();
    AddObjectsOfKind(eScheduleObject, objects.ScheduleObject(), target.ScheduleObject());
    AddObjectsOfKind(eServiceObject, objects.ServiceObject(), target.ServiceObject());
    AddObjectsOfKind(eSarvoGroupObject, objects.VpnObject(), target.VpnObject());
    AddObjectsOfKind(eInterfaceObject, objects.InterfaceObject(), target.InterfaceObject());
    AddObjectsOfKind(eIpAddressObject, objects.IpObject(), target.IpObject());
}

template <typename Sequence>
void RsopMerge::AddObjectsOfKind(int kind, const Sequence& source, Sequence& target) {
    for (const auto& object : source) {
        const ObjectKey key(kind, static_cast<long long>(object.Id()),
                            static_cast<int>(object.CreationType()));
        const auto kept = objectNames_.emplace(key, object.Name());
        if (kept.second) {
            target.push_back(object);
        } else if (kept.first->second != object.Name()) {
            Log(L"named object '" + object.Name() + L"' left out: id=" +
                    std::to_wstring(object.Id()) + L" is taken by '" + kept.first->second + L"'",
                3);
        }
    }
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

std::unique_ptr<Sarvo::PolicyType> RsopMerge::Finish() {
    std::stable_sort(rules_.begin(), rules_.end(), [](const auto& left, const auto& right) {
        const int leftRank = SectionRank(*left);
        const int rightRank = SectionRank(*right);
        if (leftRank != rightRank) {
            return leftRank < rightRank;
        }
        return left->OrderId() < right->OrderId();
    });
    auto& sequence = result_->Rules().Rule();
    for (auto& rule : rules_) {
        sequence.push_back(std::move(rule));
    }
    rules_.clear();
    return std::move(result_);
}

}  // namespace fwcommon
