#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/IRule.h>
#include <fwcommon/ListenerRegistry.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// The handle the document store builds over (its own deep copy of) a rule
// element. The identifier is the low 32 bits of the element's RuleId when
// the handle is built and does not follow later changes of RuleId; the name
// and creation type are read from the element at each call.
// Throws std::invalid_argument when constructed on an empty element.
class Rule : public IRule {
public:
    explicit Rule(std::shared_ptr<Sarvo::Rule> xmlRule);

    void AddListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    void RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    const std::uint32_t& GetIdentifier() const override { return identifier_; }
    CreationType GetCreationType() const override;
    const std::wstring& GetName() const override;
    DomainObjectType GetDomainObjectType() const override { return eRule; }
    void NotifyChanged() override;

    std::shared_ptr<Sarvo::Rule> GetXmlRule() const override { return xmlRule_; }
    bool IsActive() const override;
    void SetActive(bool active) override;

private:
    std::shared_ptr<Sarvo::Rule> xmlRule_;
    std::uint32_t identifier_;
    ListenerRegistry listeners_;
};

}  // namespace fwcommon
