#pragma once

#include <fwcommon/IipAddressNamedObject.h>
#include "domain/NamedObject.h"

namespace fwcommon {

// A named object of IP addresses; its items are IpAddressNamedObjectItem.
class IpAddressNamedObject : public NamedObject, public virtual IipAddressNamedObject {
public:
    IpAddressNamedObject(const std::wstring& name, const std::wstring& description,
                         CreationType creationType);
    IpAddressNamedObject(std::uint32_t identifier, CreationType creationType,
                         const std::wstring& name, const std::wstring& description);

    NamedObjectType GetNamedObjectType() const override { return eIpAddressObject; }
    std::shared_ptr<INamedObjectElement> CreateTextElement(const std::wstring& text) override;
    std::shared_ptr<INamedObjectElement> CreateAddressElement(const std::wstring& address) override;
    std::shared_ptr<INamedObjectElement> CreateMaskElement(const std::wstring& address,
                                                           const std::wstring& mask) override;
    std::shared_ptr<INamedObjectElement> CreateRangeElement(const std::wstring& first,
                                                            const std::wstring& last) override;

protected:
    std::shared_ptr<INamedObjectElement> NewElement() const override;
};

}  // namespace fwcommon
