#pragma once

#include <string>

#include <fwcommon/DomainTypes.h>

#include "Addresses.h"

namespace fwpolicy::textforms {

// One entry of a rule's source or destination, or of an IP, interface or
// VPN object, as an administrator writes it:
//   10.1.0.5  10.1.0.0/24  10.1.0.0/255.255.255.0  10.1.0.10-10.1.0.19  (and IPv6)
//   www.example.com, or domain:NAME for a name without a dot
//   interface:eth0, interface:10.1.0.1 (the interface holding that address),
//   interface:InternetIP (a system object as interface)
//   vpn-node:N  vpn-network:N  vpn-name:TEMPLATE
//   @"Office LAN" (a named object)   AllClients (a system object)
struct HostTerm {
    enum class Kind {
        Address,
        DomainName,
        Interface,
        InterfaceAddress,
        InterfaceSystemObject,
        ObjectReference,
        SystemObject,
        VpnNode,
        VpnNetwork,
        VpnNameTemplate,
    };
    Kind kind = Kind::Address;
    AddressBlock address;  // Address, InterfaceAddress
    std::string name;      // DomainName, Interface, ObjectReference, VpnNameTemplate
    fwcommon::SystemObjectTypes systemObject = fwcommon::eAll;  // the two system-object kinds
    long long number = 0;                                       // VpnNode, VpnNetwork
};

// Throws TextFormError naming the bad part.
HostTerm ParseHostTerm(const std::string& text);

// The text ParseHostTerm reads back to the same term.
std::string RenderHostTerm(const HostTerm& term);

}  // namespace fwpolicy::textforms
