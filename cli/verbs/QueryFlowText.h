#pragma once

#include <stdexcept>
#include <string>

#include <fwcommon/PolicyQuery.h>

namespace fwpolicy {

// The value of one option's text, parsed by parse; what parse throws is
// rethrown as std::invalid_argument that names the option first.
template <typename Parse>
auto OptionValue(const char* option, const std::string& text, Parse parse) {
    try {
        return parse(text);
    } catch (const std::exception& e) {
        throw std::invalid_argument(std::string(option) + ": " + e.what());
    }
}

// The text forms of one flow's parts, as `fwpolicy query` reads them. Each
// throws fwpolicy::textforms::TextFormError or std::invalid_argument with a
// message that names the refused text and what is wrong with it. Any
// thread may call them; the service form reads the protocol names of the
// loaded dictionary.

// An end of a flow: one IPv4 or IPv6 address, node:N (or vpn-node:N),
// network:N (or vpn-network:N), name:NODE (or a bare node name), or a
// system object name ("AllClients"). A network or a range is refused
// unless it holds a single address; so is a near miss of a system object
// name ("AllClient"), which a node name must then spell name:AllClient.
fwcommon::QueryEndpoint ParseFlowEndpoint(const std::string& text);

// An interface name as the flow gives it (refused when empty or when it
// holds control characters or bytes that are not UTF-8).
std::wstring ParseFlowInterface(const std::string& text);

// One service: tcp/22, tcp/40000:22 (source:destination), udp/53,
// icmp/8/0, icmp/echo-request, proto/47, gre. A flow has single ports; a
// port left out (tcp, tcp/any:22) is open.
fwcommon::QueryService ParseFlowService(const std::string& text);

// An ISO-8601 date and time ("2026-12-07T10:00:00") as the node's clock
// shows it; a zone ("Z", "+01:00") is refused, schedules have none.
fwcommon::QueryTime ParseFlowTime(const std::string& text);

}  // namespace fwpolicy
