#pragma once

#include <optional>
#include <string>

namespace fwpolicy::textforms {

// The ICMP and ICMPv6 message-type names that nft and iptables use
// ("echo-request", "destination-unreachable", ...). protocol is 1 for ICMP
// and 58 for ICMPv6.
std::optional<int> IcmpTypeOfName(int protocol, const std::string& name);
// The name of a type; empty when the type has none.
std::string IcmpNameOfType(int protocol, int type);

}  // namespace fwpolicy::textforms
