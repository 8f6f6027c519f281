#include "domain/InterfaceNamedObjectItem.h"

#include <fwcommon/ItemParameters.h>

namespace fwcommon {

std::shared_ptr<InterfaceNamedObjectItem> InterfaceNamedObjectItem::FromInterfaceName(
    const std::wstring& name) {
    auto item = std::make_shared<InterfaceNamedObjectItem>();
    item->interfaceName_ = name;
    item->text_ = name;
    item->core_.Add({kParamInterfaceName});
    return item;
}

std::wstring InterfaceNamedObjectItem::GetParam(int paramId) const {
    if (paramId == kParamInterfaceName) {
        return interfaceName_;
    }
    return IpAddressNamedObjectItem::GetParam(paramId);
}

INamedObjectElement& InterfaceNamedObjectItem::Assign(const INamedObjectElement* other) {
    if (other == this || dynamic_cast<const IpAddressNamedObjectItem*>(other) == nullptr) {
        return *this;
    }
    IpAddressNamedObjectItem::Assign(other);
    const auto* item = dynamic_cast<const InterfaceNamedObjectItem*>(other);
    interfaceName_ = item != nullptr ? item->interfaceName_ : std::wstring();
    return *this;
}

}  // namespace fwcommon
