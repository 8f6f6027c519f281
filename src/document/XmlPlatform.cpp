#include "document/XmlPlatform.h"

#include <mutex>

#include <xercesc/util/PlatformUtils.hpp>

namespace fwcommon::document {

void EnsureXmlPlatform() {
    static std::once_flag once;
    std::call_once(once, [] { xercesc::XMLPlatformUtils::Initialize(); });
}

}  // namespace fwcommon::document
