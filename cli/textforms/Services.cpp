#include "Services.h"

#include "IcmpNames.h"
#include "TextFormError.h"
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

constexpr unsigned long kMaxPort = 65535;
constexpr unsigned long kMaxProtocol = 255;
constexpr unsigned long kMaxIcmpField = 255;
const std::string kAny = "any";

TextFormError BadService(const std::string& text, const std::string& why) {
    return TextFormError("bad service " + Quoted(text) + ": " + why);
}

unsigned ParsePortNumber(const std::string& whole, const std::string& text) {
    const auto port = DecimalNumber(text, kMaxPort);
    if (!port)
        throw BadService(whole, "port " + Quoted(text) + " is not a number from 0 to 65535");
    return static_cast<unsigned>(*port);
}

// "any", "22" or "1024-65535".
std::optional<PortSpan> ParsePortSpan(const std::string& whole, const std::string& text) {
    if (text == kAny)
        return std::nullopt;
    PortSpan span;
    const auto dash = text.find('-');
    if (dash == std::string::npos) {
        span.first = span.last = ParsePortNumber(whole, text);
        return span;
    }
    span.range = true;
    span.first = ParsePortNumber(whole, text.substr(0, dash));
    span.last = ParsePortNumber(whole, text.substr(dash + 1));
    if (span.last < span.first)
        throw BadService(whole, "port range " + Quoted(text) + " ends before it begins");
    return span;
}

ServiceValue ParsePorts(const std::string& whole, int protocol, const std::string& ports) {
    ServiceValue service;
    service.kind = ServiceValue::Kind::Ports;
    service.protocol = protocol;
    if (ports.empty())
        return service;
    const std::vector<std::string> sides = SplitAll(ports, ':');
    if (sides.size() > 2) {
        throw BadService(whole,
                         Quoted(ports) + " has more than one ':' (write SOURCE:DESTINATION ports)");
    }
    if (sides.size() == 2)
        service.sourcePort = ParsePortSpan(whole, sides[0]);
    service.destinationPort = ParsePortSpan(whole, sides.back());
    return service;
}

std::optional<int> ParseIcmpField(const std::string& whole, int protocol, const std::string& text,
                                  bool isType) {
    if (text == kAny)
        return std::nullopt;
    if (const auto number = DecimalNumber(text, kMaxIcmpField))
        return static_cast<int>(*number);
    if (isType) {
        if (const auto type = IcmpTypeOfName(protocol, text))
            return type;
        throw BadService(whole,
                         Quoted(text) + " is neither an ICMP type name nor a number from 0 to 255");
    }
    throw BadService(whole, "ICMP code " + Quoted(text) + " is not a number from 0 to 255");
}

ServiceValue ParseIcmp(const std::string& whole, int protocol, const std::string& rest) {
    ServiceValue service;
    service.kind = ServiceValue::Kind::Icmp;
    service.protocol = protocol;
    if (rest.empty())
        return service;
    const std::vector<std::string> fields = SplitAll(rest, '/');
    if (fields.size() > 2)
        throw BadService(whole, "write icmp/TYPE or icmp/TYPE/CODE");
    service.icmpType = ParseIcmpField(whole, protocol, fields[0], true);
    if (fields.size() == 2)
        service.icmpCode = ParseIcmpField(whole, protocol, fields[1], false);
    return service;
}

ServiceValue ParseProtocolNumber(const std::string& whole, const std::string& rest) {
    const auto number = DecimalNumber(rest, kMaxProtocol);
    if (!number)
        throw BadService(whole, "protocol " + Quoted(rest) + " is not a number from 0 to 255");
    ServiceValue service;
    service.protocol = static_cast<int>(*number);
    return service;
}

std::string RenderPortSpan(const std::optional<PortSpan>& span) {
    if (!span)
        return kAny;
    if (!span->range)
        return std::to_string(span->first);
    return std::to_string(span->first) + "-" + std::to_string(span->last);
}

std::string RenderPorts(const ServiceValue& service) {
    std::string text = service.protocol == kProtocolTcp ? "tcp" : "udp";
    if (service.sourcePort)
        return text + "/" + RenderPortSpan(service.sourcePort) + ":" +
               RenderPortSpan(service.destinationPort);
    if (service.destinationPort)
        return text + "/" + RenderPortSpan(service.destinationPort);
    return text;
}

std::string RenderIcmp(const ServiceValue& service) {
    std::string text = service.protocol == kProtocolIcmp ? "icmp" : "icmpv6";
    if (!service.icmpType && !service.icmpCode)
        return text;
    if (!service.icmpCode) {
        const std::string name = IcmpNameOfType(service.protocol, *service.icmpType);
        return text + "/" + (name.empty() ? std::to_string(*service.icmpType) : name);
    }
    return text + "/" + (service.icmpType ? std::to_string(*service.icmpType) : kAny) + "/" +
           std::to_string(*service.icmpCode);
}

bool IsKeyword(const std::string& name) {
    return name == "tcp" || name == "udp" || name == "icmp" || name == "icmpv6" || name == "proto";
}

}  // namespace

ServiceValue ParseService(const std::string& text, const ProtocolNames& names) {
    if (text.empty())
        throw TextFormError("a service is missing");
    const auto slash = text.find('/');
    const std::string head = AsciiLower(text.substr(0, slash));
    const std::string rest = slash == std::string::npos ? std::string() : text.substr(slash + 1);
    if (slash != std::string::npos && rest.empty())
        throw BadService(text, "nothing follows '/'");
    if (head == "tcp" || head == "udp")
        return ParsePorts(text, head == "tcp" ? kProtocolTcp : kProtocolUdp, rest);
    if (head == "icmp" || head == "icmpv6")
        return ParseIcmp(text, head == "icmp" ? kProtocolIcmp : kProtocolIcmpv6, rest);
    if (head == "proto") {
        if (rest.empty())
            throw BadService(text, "write proto/NUMBER");
        return ParseProtocolNumber(text, rest);
    }
    if (slash != std::string::npos)
        throw BadService(text,
                         Quoted(head) + " takes no '/' (only tcp, udp, icmp, icmpv6 and proto do)");
    if (const auto number = names.NumberOf(head)) {
        ServiceValue service;
        service.protocol = *number;
        return service;
    }
    if (MeansAnything(text))
        throw BadService(text,
                         "a rule matches every service where it lists none (show prints *): "
                         "leave the option out, or clear the list with rule set --clear-services");
    throw BadService(
        text, Quoted(text) + " is not tcp, udp, icmp, icmpv6, proto/N or a known protocol name");
}

std::string RenderService(const ServiceValue& service, const ProtocolNames& names) {
    switch (service.kind) {
        case ServiceValue::Kind::Ports:
            return RenderPorts(service);
        case ServiceValue::Kind::Icmp:
            return RenderIcmp(service);
        case ServiceValue::Kind::Protocol:
            break;
    }
    const std::string name = names.NameOf(service.protocol);
    if (!name.empty() && !IsKeyword(name) && names.NumberOf(name) == service.protocol)
        return name;
    return "proto/" + std::to_string(service.protocol);
}

}  // namespace fwpolicy::textforms
