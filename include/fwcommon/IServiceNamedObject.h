#pragma once

#include <cstdint>
#include <memory>

#include <fwcommon/INamedObject.h>
#include <fwcommon/export.h>

namespace fwcommon {

// A named object of services (eServiceObject). The factories create
// service items; a port, ICMP type or code of -1 (4294967295) is absent and
// the item does not answer its parameter. Every item answers 0, 17
// (protocol) and 18.
class FWCOMMON_EXPORT IServiceNamedObject : public virtual INamedObject {
public:
    IServiceNamedObject() = default;
    IServiceNamedObject(const IServiceNamedObject&) = default;
    IServiceNamedObject& operator=(const IServiceNamedObject&) { return *this; }
    ~IServiceNamedObject() override;

    // Protocol 6 with source ports (19, 20) and destination ports (21, 22).
    virtual std::shared_ptr<INamedObjectElement> CreateTcpElement(std::int32_t sourceFrom,
                                                                  std::int32_t sourceTo,
                                                                  std::int32_t destinationFrom,
                                                                  std::int32_t destinationTo) = 0;
    // Protocol 17, the ports as for TCP.
    virtual std::shared_ptr<INamedObjectElement> CreateUdpElement(std::int32_t sourceFrom,
                                                                  std::int32_t sourceTo,
                                                                  std::int32_t destinationFrom,
                                                                  std::int32_t destinationTo) = 0;
    // Protocol 1 with ICMP type (24) and code (23).
    virtual std::shared_ptr<INamedObjectElement> CreateIcmpElement(std::int32_t type,
                                                                   std::int32_t code) = 0;
    // Only the protocol number.
    virtual std::shared_ptr<INamedObjectElement> CreateProtocolElement(std::int32_t protocol) = 0;
};

}  // namespace fwcommon
