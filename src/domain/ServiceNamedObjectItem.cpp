#include "domain/ServiceNamedObjectItem.h"

#include <fwcommon/ItemParameters.h>

namespace fwcommon {

namespace {

// One side of a port restriction: "*" without a first port, else the first
// port and, when there is one, "-" and the last port.
std::wstring PortSide(std::int32_t from, std::int32_t to) {
    if (from == ServiceNamedObjectItem::kAbsent) {
        return L"*";
    }
    std::wstring side = Decimal(from);
    if (to != ServiceNamedObjectItem::kAbsent) {
        side += L"-" + Decimal(to);
    }
    return side;
}

// Adds the id when the value is present.
void AddIfPresent(ItemCore& core, std::int32_t value, int id) {
    if (value != ServiceNamedObjectItem::kAbsent) {
        core.Add({id});
    }
}

}  // namespace

ServiceNamedObjectItem::ServiceNamedObjectItem(std::int32_t protocol)
    : NamedObjectItem({kParamDisplayText, kParamProtocol, kParamProtocolText}),
      protocol_(protocol),
      protocolText_(Decimal(protocol)) {}

std::shared_ptr<ServiceNamedObjectItem> ServiceNamedObjectItem::WithPorts(
    std::int32_t protocol, std::int32_t sourceFrom, std::int32_t sourceTo,
    std::int32_t destinationFrom, std::int32_t destinationTo) {
    auto item = std::make_shared<ServiceNamedObjectItem>(protocol);
    item->sourceFrom_ = sourceFrom;
    item->sourceTo_ = sourceTo;
    item->destinationFrom_ = destinationFrom;
    item->destinationTo_ = destinationTo;
    AddIfPresent(item->core_, sourceFrom, 19);
    AddIfPresent(item->core_, sourceTo, 20);
    AddIfPresent(item->core_, destinationFrom, 21);
    AddIfPresent(item->core_, destinationTo, 22);
    return item;
}

std::shared_ptr<ServiceNamedObjectItem> ServiceNamedObjectItem::Icmp(std::int32_t type,
                                                                     std::int32_t code) {
    auto item = std::make_shared<ServiceNamedObjectItem>(1);
    item->icmpType_ = type;
    item->icmpCode_ = code;
    AddIfPresent(item->core_, code, 23);
    AddIfPresent(item->core_, type, 24);
    return item;
}

std::wstring ServiceNamedObjectItem::PortsText() const {
    return PortSide(sourceFrom_, sourceTo_) + L"/" + PortSide(destinationFrom_, destinationTo_);
}

std::wstring ServiceNamedObjectItem::GetDetails() const {
    if (HasPorts()) {
        return PortsText();
    }
    if (protocol_ == 1) {
        return Decimal(icmpType_) + L"/" + Decimal(icmpCode_);
    }
    return std::wstring();
}

std::wstring ServiceNamedObjectItem::GetName() {
    if (HasPorts() || protocol_ == 1) {
        return protocolText_ + L" " + GetDetails();
    }
    return protocolText_;
}

std::wstring ServiceNamedObjectItem::GetParam(int paramId) const {
    core_.Require(paramId, "fwcommon::ServiceNamedObjectItem::GetParam");
    switch (paramId) {
        case kParamDisplayText:
        case kParamProtocolText:
            return GetText();
        case kParamProtocol:
            return Decimal(protocol_);
        case kParamSourcePortFrom:
            return Decimal(sourceFrom_);
        case kParamSourcePortTo:
            return Decimal(sourceTo_);
        case kParamDestinationPortFrom:
            return Decimal(destinationFrom_);
        case kParamDestinationPortTo:
            return Decimal(destinationTo_);
        case kParamIcmpCode:
            return Decimal(icmpCode_);
        case kParamIcmpType:
            return Decimal(icmpType_);
        default:
            ThrowUnansweredParam("ServiceNamedObjectItem");
    }
}

bool ServiceNamedObjectItem::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    if (other.get() == this) {
        return true;
    }
    const auto* item = dynamic_cast<const ServiceNamedObjectItem*>(other.get());
    return item != nullptr && sourceFrom_ == item->sourceFrom_ && sourceTo_ == item->sourceTo_ &&
           destinationFrom_ == item->destinationFrom_ && destinationTo_ == item->destinationTo_ &&
           icmpCode_ == item->icmpCode_ && icmpType_ == item->icmpType_ &&
           protocol_ == item->protocol_ && core_.paramIds == item->core_.paramIds;
}

std::size_t ServiceNamedObjectItem::EqualityHash() const {
    std::size_t hash = 0;
    HashInto(hash, protocol_);
    HashInto(hash, sourceFrom_);
    HashInto(hash, sourceTo_);
    HashInto(hash, destinationFrom_);
    HashInto(hash, destinationTo_);
    HashInto(hash, icmpType_);
    HashInto(hash, icmpCode_);
    return hash;
}

INamedObjectElement& ServiceNamedObjectItem::Assign(const INamedObjectElement* other) {
    const auto* item = dynamic_cast<const ServiceNamedObjectItem*>(other);
    if (item != nullptr && item != this) {
        sourceFrom_ = item->sourceFrom_;
        sourceTo_ = item->sourceTo_;
        destinationFrom_ = item->destinationFrom_;
        destinationTo_ = item->destinationTo_;
        icmpCode_ = item->icmpCode_;
        icmpType_ = item->icmpType_;
        protocol_ = item->protocol_;
        protocolText_ = item->protocolText_;
        core_.paramIds = item->core_.paramIds;
    }
    return *this;
}

}  // namespace fwcommon
