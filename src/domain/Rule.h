#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/IRule.h>
#include <fwcommon/ListenerRegistry.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// The handle the document store builds over a rule element. The handle
// holds either an element of its own or, until it is first changed, a
// shared element of a document the store no longer changes (a bound
// handle keeps that document alive). GetXmlRule and SetActive give a bound
// handle an element of its own first, so that no holder ever changes the
// shared document; reading through Element does not.
//
// The identifier is the low 32 bits of the element's RuleId when the
// handle is built and does not follow later changes of RuleId; the name
// and creation type are read from the element at each call. A reference
// GetName returns lasts until the element is changed or the store next
// works on the handle.
// Throws std::invalid_argument when constructed on an empty element.
class Rule : public IRule {
public:
    explicit Rule(std::shared_ptr<Sarvo::Rule> xmlRule);
    // A handle bound to an element of an unchanging document; the pointer
    // shares the ownership of that document.
    explicit Rule(std::shared_ptr<const Sarvo::Rule> sharedElement);

    void AddListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    void RemoveListener(const std::shared_ptr<IDomainObjectListener>& listener) override;
    const std::uint32_t& GetIdentifier() const override { return identifier_; }
    CreationType GetCreationType() const override;
    const std::wstring& GetName() const override;
    DomainObjectType GetDomainObjectType() const override { return eRule; }
    void NotifyChanged() override;
    std::shared_ptr<Sarvo::Rule> GetXmlRule() const override;
    bool IsActive() const override;
    void SetActive(bool active) override;

    // The element, for reading, without giving a bound handle its own.
    const Sarvo::Rule& Element() const { return own_ ? *own_ : *shared_; }
    // The shared element while the handle is bound; else null.
    const Sarvo::Rule* SharedElement() const { return own_ ? nullptr : shared_.get(); }
    // Binds the handle to another element of the same content (the copy the
    // store keeps when it starts changing the document the handle is bound
    // to). No effect on a handle with an element of its own.
    void Rebind(std::shared_ptr<const Sarvo::Rule> sharedElement);
    // Gives a bound handle an element of its own and lets the shared
    // document go (the store's reader does so for the handles it leaves
    // behind).
    void Release() const;

    // The element of a handle the store made, for reading; any other
    // handle's GetXmlRule.
    static const Sarvo::Rule& ElementOf(const IRule& rule);

private:
    // Gives a bound handle an element of its own. The shared document stays
    // held, so that what GetName returned before stays valid.
    void Unbind() const;

    mutable std::shared_ptr<Sarvo::Rule> own_;
    mutable std::shared_ptr<const Sarvo::Rule> shared_;
    std::uint32_t identifier_;
    ListenerRegistry listeners_;
};

}  // namespace fwcommon
