#pragma once

#include <memory>
#include <string>

#include <fwcommon/INamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A named object of IP addresses (eIpAddressObject). The factories create
// items of the object's kind with new item identifiers; the caller adds
// them with AddElement. Parameter ids of the created items: a free text
// {0, 29}, an address {0, 28}, an address with a mask {0, 28, 25}, a range
// {0, 26, 27}.
class FWCOMMON_EXPORT IipAddressNamedObject : public virtual INamedObject {
public:
    IipAddressNamedObject() = default;
    IipAddressNamedObject(const IipAddressNamedObject&) = default;
    IipAddressNamedObject& operator=(const IipAddressNamedObject&) { return *this; }
    ~IipAddressNamedObject() override;

    // An item given by one free text, such as a domain name.
    virtual std::shared_ptr<INamedObjectElement> CreateTextElement(const std::wstring& text) = 0;
    virtual std::shared_ptr<INamedObjectElement> CreateAddressElement(
        const std::wstring& address) = 0;
    // Display text "address/mask"; the mask is left out when empty.
    virtual std::shared_ptr<INamedObjectElement> CreateMaskElement(const std::wstring& address,
                                                                   const std::wstring& mask) = 0;
    // Display text "first-last".
    virtual std::shared_ptr<INamedObjectElement> CreateRangeElement(const std::wstring& first,
                                                                    const std::wstring& last) = 0;
};

}  // namespace fwcommon
