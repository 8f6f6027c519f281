#include "domain/ServiceNamedObject.h"

#include "domain/ServiceNamedObjectItem.h"

namespace fwcommon {

namespace {

constexpr std::int32_t kTcp = 6;
constexpr std::int32_t kUdp = 17;

}  // namespace

ServiceNamedObject::ServiceNamedObject(const std::wstring& name, const std::wstring& description,
                                       CreationType creationType)
    : NamedObject(name, description, creationType) {}

ServiceNamedObject::ServiceNamedObject(std::uint32_t identifier, CreationType creationType,
                                       const std::wstring& name, const std::wstring& description)
    : NamedObject(identifier, creationType, name, description) {}

std::shared_ptr<INamedObjectElement> ServiceNamedObject::CreateTcpElement(
    std::int32_t sourceFrom, std::int32_t sourceTo, std::int32_t destinationFrom,
    std::int32_t destinationTo) {
    return ServiceNamedObjectItem::WithPorts(kTcp, sourceFrom, sourceTo, destinationFrom,
                                             destinationTo);
}

std::shared_ptr<INamedObjectElement> ServiceNamedObject::CreateUdpElement(
    std::int32_t sourceFrom, std::int32_t sourceTo, std::int32_t destinationFrom,
    std::int32_t destinationTo) {
    return ServiceNamedObjectItem::WithPorts(kUdp, sourceFrom, sourceTo, destinationFrom,
                                             destinationTo);
}

std::shared_ptr<INamedObjectElement> ServiceNamedObject::CreateIcmpElement(std::int32_t type,
                                                                           std::int32_t code) {
    return ServiceNamedObjectItem::Icmp(type, code);
}

std::shared_ptr<INamedObjectElement> ServiceNamedObject::CreateProtocolElement(
    std::int32_t protocol) {
    return std::make_shared<ServiceNamedObjectItem>(protocol);
}

std::shared_ptr<INamedObjectElement> ServiceNamedObject::NewElement() const {
    return std::make_shared<ServiceNamedObjectItem>();
}

}  // namespace fwcommon
