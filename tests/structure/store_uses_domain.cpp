// Compiled as a file of the store, which uses the domain: this include must
// build, or the refusals above prove nothing.
#include "domain/ItemCore.h"

namespace fwcommon {
std::uint32_t StructureProbeIdentifier() {
    return ItemCore({0}).identifier;
}
}  // namespace fwcommon
