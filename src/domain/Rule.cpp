#include "domain/Rule.h"

#include <stdexcept>
#include <utility>

#include <fwcommon/RuleIdentifier.h>
#include <fwcommon/StringUtilities.h>

namespace fwcommon {

IRule::~IRule() = default;

namespace {

std::shared_ptr<Sarvo::Rule> Checked(std::shared_ptr<Sarvo::Rule> xmlRule) {
    if (!xmlRule) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString("fwcommon::Rule::Rule", "Empty rule element"));
    }
    return xmlRule;
}

}  // namespace

Rule::Rule(std::shared_ptr<Sarvo::Rule> xmlRule)
    : xmlRule_(Checked(std::move(xmlRule))), identifier_(RuleIdentifierOf(xmlRule_->RuleId())) {}

void Rule::AddListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Add(listener);
}

void Rule::RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Remove(listener);
}

CreationType Rule::GetCreationType() const {
    // The document enumeration is numbered like CreationType.
    return static_cast<CreationType>(static_cast<int>(xmlRule_->CreationType()));
}

const std::wstring& Rule::GetName() const {
    return xmlRule_->Name();
}

void Rule::NotifyChanged() {
    listeners_.NotifyModified(GetDomainObjectType(), GetIdentifier());
}

bool Rule::IsActive() const {
    return xmlRule_->IsActive();
}

void Rule::SetActive(bool active) {
    xmlRule_->IsActive(active);
}

}  // namespace fwcommon
