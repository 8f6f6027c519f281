#include <fwcommon/CreateNamedObject.h>

#include <limits>
#include <stdexcept>

#include <fwcommon/StringUtilities.h>
#include "domain/InterfaceNamedObject.h"
#include "domain/NamedObjectNumbers.h"
#include "domain/SarvoGroupNamedObject.h"
#include "domain/ScheduleNamedObject.h"
#include "domain/ServiceNamedObject.h"

namespace fwcommon {

namespace {

constexpr std::uint32_t kFreeFunctionFirstNumber = 1;

// Builds the object of the kind with the given constructor arguments.
template <class... Args>
std::shared_ptr<INamedObject> Build(NamedObjectType type, Args&&... args) {
    switch (type) {
        case eInterfaceObject:
            return std::make_shared<InterfaceNamedObject>(std::forward<Args>(args)...);
        case eIpAddressObject:
            return std::make_shared<IpAddressNamedObject>(std::forward<Args>(args)...);
        case eServiceObject:
            return std::make_shared<ServiceNamedObject>(std::forward<Args>(args)...);
        case eScheduleObject:
            return std::make_shared<ScheduleNamedObject>(std::forward<Args>(args)...);
        case eSarvoGroupObject:
            return std::make_shared<SarvoGroupNamedObject>(std::forward<Args>(args)...);
    }
    throw std::runtime_error(
        "Application function: NamedObjectInternal::CreateNamedObject. Details: Incorrect "
        "named-object type.");
}

}  // namespace

std::shared_ptr<INamedObject> CreateNamedObject(const std::wstring& name,
                                                const std::wstring& description,
                                                NamedObjectType type, CreationType creationType) {
    EnsureNamedObjectNumbers(kFreeFunctionFirstNumber);
    return Build(type, name, description, creationType);
}

std::shared_ptr<INamedObject> CreateNamedObject(unsigned long identifier, const std::wstring& name,
                                                const std::wstring& description,
                                                NamedObjectType type, CreationType creationType) {
    EnsureNamedObjectNumbers(kFreeFunctionFirstNumber);
    if (identifier > std::numeric_limits<std::uint32_t>::max()) {
        throw std::out_of_range(StringUtilities::GetErrorString(
            "fwcommon::CreateNamedObject",
            "Identifier " + std::to_string(identifier) + " does not fit in 32 bits"));
    }
    return Build(type, static_cast<std::uint32_t>(identifier), creationType, name, description);
}

}  // namespace fwcommon
