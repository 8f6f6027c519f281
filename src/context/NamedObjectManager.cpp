#include <fwcommon/INamedObjectManager.h>

namespace fwcommon {

INamedObjectManager::~INamedObjectManager() = default;

}  // namespace fwcommon
