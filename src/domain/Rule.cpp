#include "domain/Rule.h"

#include <stdexcept>
#include <utility>

#include <fwcommon/RuleIdentifier.h>
#include <fwcommon/StringUtilities.h>

namespace fwcommon {

IRule::~IRule() = default;

namespace {

template <typename Pointer>
Pointer Checked(Pointer xmlRule) {
    if (!xmlRule) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString("fwcommon::Rule::Rule", "Empty rule element"));
    }
    return xmlRule;
}

}  // namespace

Rule::Rule(std::shared_ptr<Sarvo::Rule> xmlRule)
    : own_(Checked(std::move(xmlRule))), identifier_(RuleIdentifierOf(own_->RuleId())) {}

Rule::Rule(std::shared_ptr<const Sarvo::Rule> sharedElement)
    : shared_(Checked(std::move(sharedElement))),
      identifier_(RuleIdentifierOf(shared_->RuleId())) {}

void Rule::AddListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Add(listener);
}

void Rule::RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) {
    listeners_.Remove(listener);
}

CreationType Rule::GetCreationType() const {
    // The document enumeration is numbered like CreationType.
    return static_cast<CreationType>(static_cast<int>(Element().CreationType()));
}

const std::wstring& Rule::GetName() const {
    return Element().Name();
}

void Rule::NotifyChanged() {
    listeners_.NotifyModified(GetDomainObjectType(), GetIdentifier());
}

std::shared_ptr<Sarvo::Rule> Rule::GetXmlRule() const {
    Unbind();
    return own_;
}

bool Rule::IsActive() const {
    return Element().IsActive();
}

void Rule::SetActive(bool active) {
    Unbind();
    own_->IsActive(active);
}

void Rule::Rebind(std::shared_ptr<const Sarvo::Rule> sharedElement) {
    if (!own_) {
        shared_ = Checked(std::move(sharedElement));
    }
}

void Rule::Unbind() const {
    if (!own_) {
        own_.reset(shared_->_clone());
    }
}

void Rule::Release() const {
    Unbind();
    shared_.reset();
}

const Sarvo::Rule& Rule::ElementOf(const IRule& rule) {
    if (const auto* made = dynamic_cast<const Rule*>(&rule)) {
        return made->Element();
    }
    return *rule.GetXmlRule();
}

}  // namespace fwcommon
