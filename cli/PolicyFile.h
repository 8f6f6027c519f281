#pragma once

#include <memory>
#include <string>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// Reads and validates a policy file. When it cannot, prints why on stderr
// ("fwpolicy: FILE: reason", or the positioned diagnostics) and returns an
// empty pointer.
std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file);

}  // namespace fwpolicy
