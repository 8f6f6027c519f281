#pragma once

#include <optional>
#include <string>

#include "ProtocolNames.h"

namespace fwpolicy::textforms {

// One port or a range of ports; range keeps "22-22" apart from "22".
struct PortSpan {
    unsigned first = 0;
    unsigned last = 0;
    bool range = false;

    friend bool operator==(const PortSpan& a, const PortSpan& b) {
        return a.first == b.first && a.last == b.last && a.range == b.range;
    }
};

// A service as an administrator writes it:
//   tcp, tcp/22, udp/1024-65535, tcp/any:22 (source:destination ports);
//   icmp, icmp/echo-request, icmp/8/0, icmpv6/128;
//   proto/47, or a protocol name of the dictionary (gre).
struct ServiceValue {
    enum class Kind { Ports, Icmp, Protocol };
    Kind kind = Kind::Protocol;
    int protocol = 0;                         // 6 or 17 for Ports, 1 or 58 for Icmp
    std::optional<PortSpan> sourcePort;       // absent: any source port
    std::optional<PortSpan> destinationPort;  // absent: any destination port
    std::optional<int> icmpType;              // absent: any type
    std::optional<int> icmpCode;              // absent: any code
};

constexpr int kProtocolIcmp = 1;
constexpr int kProtocolTcp = 6;
constexpr int kProtocolUdp = 17;
constexpr int kProtocolIcmpv6 = 58;

// Throws TextFormError naming the bad part.
ServiceValue ParseService(const std::string& text, const ProtocolNames& names);

// The text ParseService reads back to the same value; a bare protocol is
// written by its dictionary name where it has one.
std::string RenderService(const ServiceValue& service, const ProtocolNames& names);

}  // namespace fwpolicy::textforms
