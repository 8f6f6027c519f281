#pragma once

#include <fwcommon/IServiceNamedObject.h>
#include "domain/NamedObject.h"

namespace fwcommon {

// A named object of services; its items are ServiceNamedObjectItem.
class ServiceNamedObject : public NamedObject, public virtual IServiceNamedObject {
public:
    ServiceNamedObject(const std::wstring& name, const std::wstring& description,
                       CreationType creationType);
    ServiceNamedObject(std::uint32_t identifier, CreationType creationType,
                       const std::wstring& name, const std::wstring& description);

    NamedObjectType GetNamedObjectType() const override { return eServiceObject; }
    std::shared_ptr<INamedObjectElement> CreateTcpElement(std::int32_t sourceFrom,
                                                          std::int32_t sourceTo,
                                                          std::int32_t destinationFrom,
                                                          std::int32_t destinationTo) override;
    std::shared_ptr<INamedObjectElement> CreateUdpElement(std::int32_t sourceFrom,
                                                          std::int32_t sourceTo,
                                                          std::int32_t destinationFrom,
                                                          std::int32_t destinationTo) override;
    std::shared_ptr<INamedObjectElement> CreateIcmpElement(std::int32_t type,
                                                           std::int32_t code) override;
    std::shared_ptr<INamedObjectElement> CreateProtocolElement(std::int32_t protocol) override;

protected:
    std::shared_ptr<INamedObjectElement> NewElement() const override;
};

}  // namespace fwcommon
