#pragma once

#include <memory>
#include <string>

#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/export.h>
#include "domain/NamedObjectItem.h"

namespace fwcommon {

// An entry of an IP-address object: one free text (parameter 29), one
// address (26 and 28), an address with a mask (28 and 25) or an address
// range (26 and 27). Every form also answers 0, its display text.
// GetParam of an id in the set that the class has no answer for (which only
// an item assigned from an interface item holds) throws std::runtime_error
// "Application function: InterfaceNamedObjectItem::GetParam. Details:
// Incorrect parameter type.".
class IpAddressNamedObjectItem : public NamedObjectItem<eInterfaceObject> {
public:
    // A blank item: empty texts, parameter ids {0}.
    IpAddressNamedObjectItem();

    static std::shared_ptr<IpAddressNamedObjectItem> FromText(const std::wstring& text);
    static std::shared_ptr<IpAddressNamedObjectItem> FromAddress(const std::wstring& address);
    // The mask, and parameter 25, are left out when mask is empty.
    static std::shared_ptr<IpAddressNamedObjectItem> FromAddressAndMask(const std::wstring& address,
                                                                        const std::wstring& mask);
    static std::shared_ptr<IpAddressNamedObjectItem> FromRange(const std::wstring& first,
                                                               const std::wstring& last);

    std::wstring GetName() override { return text_; }
    std::wstring GetParam(int paramId) const override;
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;
    std::size_t EqualityHash() const override;
    INamedObjectElement& Assign(const INamedObjectElement* other) override;
    const std::wstring& GetText() const override { return text_; }

protected:
    std::wstring text_;

private:
    std::wstring freeText_;
    std::wstring address_;
    std::wstring rangeEnd_;
    std::wstring mask_;
};

}  // namespace fwcommon
