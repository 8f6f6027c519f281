#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/export.h>
#include "domain/NamedObjectItem.h"

namespace fwcommon {

// An entry of a service object: a protocol number (parameters 17 and 18)
// with, for TCP and UDP, source and destination port ranges (19 to 22) or,
// for ICMP, a type (24) and a code (23). A port or ICMP value of -1 is
// absent: the item does not answer its parameter, and an absent ICMP type
// or code reads "-1" in the name ("1 3/-1"). GetParam of an id in the
// set that the class has no answer for throws std::runtime_error
// "Application function: ServiceNamedObjectItem::GetParam. Details:
// Incorrect parameter type.".
class ServiceNamedObjectItem : public NamedObjectItem<eServiceObject> {
public:
    static constexpr std::int32_t kAbsent = -1;

    // A blank item: protocol 0, every port and ICMP value absent,
    // parameter ids {0, 17, 18}.
    ServiceNamedObjectItem() : ServiceNamedObjectItem(0) {}
    // Only the protocol; parameter ids {0, 17, 18}.
    explicit ServiceNamedObjectItem(std::int32_t protocol);

    // A TCP (6) or UDP (17) item; each port that is not -1 adds its id.
    static std::shared_ptr<ServiceNamedObjectItem> WithPorts(std::int32_t protocol,
                                                             std::int32_t sourceFrom,
                                                             std::int32_t sourceTo,
                                                             std::int32_t destinationFrom,
                                                             std::int32_t destinationTo);
    // An ICMP (1) item; a type that is not -1 adds 24, a code 23.
    static std::shared_ptr<ServiceNamedObjectItem> Icmp(std::int32_t type, std::int32_t code);

    // "6 */80-80", "1 8/0", "47".
    std::wstring GetName() override;
    std::wstring GetParam(int paramId) const override;
    bool IsEqual(const std::shared_ptr<INamedItem>& other) const override;
    std::size_t EqualityHash() const override;
    INamedObjectElement& Assign(const INamedObjectElement* other) override;
    // The protocol number in decimal.
    const std::wstring& GetText() const override { return protocolText_; }
    // "*/80-80" for TCP and UDP, "8/0" for ICMP, empty for other protocols.
    std::wstring GetDetails() const;

private:
    bool HasPorts() const { return protocol_ == 6 || protocol_ == 17; }
    std::wstring PortsText() const;

    std::int32_t sourceFrom_ = kAbsent;
    std::int32_t sourceTo_ = kAbsent;
    std::int32_t destinationFrom_ = kAbsent;
    std::int32_t destinationTo_ = kAbsent;
    std::int32_t icmpCode_ = kAbsent;
    std::int32_t icmpType_ = kAbsent;
    std::int32_t protocol_;
    std::wstring protocolText_;
};

}  // namespace fwcommon
