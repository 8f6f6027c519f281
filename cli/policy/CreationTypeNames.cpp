#include "policy/CreationTypeNames.h"

namespace fwpolicy {

const std::vector<std::string>& CreationTypeNames() {
    static const std::vector<std::string> names = {"generated", "policy", "user", "post"};
    return names;
}

}  // namespace fwpolicy
