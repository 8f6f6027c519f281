#pragma once

namespace fwcommon::document {

// Initialises the Xerces-C platform once per process. Safe to call from any
// thread and as often as wanted; the platform is never terminated, since
// parsed documents and cached grammars may outlive any one caller.
void EnsureXmlPlatform();

}  // namespace fwcommon::document
