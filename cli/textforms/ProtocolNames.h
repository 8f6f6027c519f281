#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fwpolicy::textforms {

// IP protocol names an administrator may write instead of "proto/N"
// ("gre" for 47). Names are matched without regard to case. A plain value
// built once and then only read.
class ProtocolNames {
public:
    ProtocolNames() = default;
    // The first name given for a number and the first number given for a
    // name win.
    explicit ProtocolNames(const std::vector<std::pair<int, std::string>>& entries);

    // The names of the shipped protocol dictionary, as the library has
    // loaded it (empty when it is not loaded).
    static ProtocolNames FromDictionary();

    std::optional<int> NumberOf(const std::string& name) const;
    // The lower-case name of the number; empty when it has none.
    std::string NameOf(int number) const;

private:
    std::map<std::string, int> numbers_;
    std::map<int, std::string> names_;
};

}  // namespace fwpolicy::textforms
