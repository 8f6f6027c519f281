#include "domain/SystemObject.h"

#include <fwcommon/StringUtilities.h>

namespace fwcommon {

ISystemObjectItem::~ISystemObjectItem() = default;

SystemObject::SystemObject(SystemObjectTypes type)
    : type_(type), name_(StringUtilities::GetSystemType(type)) {}

const std::uint32_t& SystemObject::GetIdentifier() const {
    static const std::uint32_t kSharedIdentifier = 0;
    return kSharedIdentifier;
}

bool SystemObject::IsEqual(const std::shared_ptr<INamedItem>& other) const {
    if (!other || other->GetItemKind() != eSystemObjectItem) {
        return false;
    }
    const auto* system = dynamic_cast<const SystemObject*>(other.get());
    return system != nullptr && system->name_ == name_;
}

}  // namespace fwcommon
