#pragma once

#include <memory>
#include <ostream>
#include <string>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// Reads and validates a policy file. When it cannot, prints why on err
// ("fwpolicy: FILE: reason", or the positioned diagnostics) and returns an
// empty pointer. Any thread may call it.
std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file, std::ostream& err);

// LoadPolicyFile reporting on stderr.
std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file);

}  // namespace fwpolicy
