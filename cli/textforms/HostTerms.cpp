#include "HostTerms.h"

#include <cctype>

#include "References.h"
#include "TextFormError.h"
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

const std::string kInterfacePrefix = "interface:";
const std::string kDomainPrefix = "domain:";
const std::string kVpnNodePrefix = "vpn-node:";
const std::string kVpnNetworkPrefix = "vpn-network:";
const std::string kVpnNamePrefix = "vpn-name:";
constexpr std::size_t kMaxLabel = 63;
constexpr std::size_t kMaxDomain = 253;
constexpr unsigned long kMaxVpnId = 9223372036854775807UL;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsLabelCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
}

// Why name is not a domain name; empty when it is one.
std::string DomainFault(const std::string& name) {
    if (name.empty() || name.size() > kMaxDomain)
        return "a domain name has 1 to 253 characters";
    for (const std::string& label : SplitAll(name, '.')) {
        if (label.empty() || label.size() > kMaxLabel)
            return "each dot-separated part has 1 to 63 characters";
        for (const char c : label) {
            if (!IsLabelCharacter(c))
                return Quoted(std::string(1, c)) + " may not stand in a domain name";
        }
        if (label.front() == '-' || label.back() == '-')
            return "part " + Quoted(label) + " begins or ends with '-'";
    }
    return {};
}

// A name that, written without "domain:", still reads as a domain name.
bool LooksLikeDomain(const std::string& text) {
    const auto dot = text.rfind('.');
    if (dot == std::string::npos || !DomainFault(text).empty())
        return false;
    for (std::size_t i = dot + 1; i < text.size(); ++i) {
        if (std::isalpha(static_cast<unsigned char>(text[i])) != 0)
            return true;
    }
    return false;
}

TextFormError BadHost(const std::string& text, const std::string& why) {
    return TextFormError("bad address " + Quoted(text) + ": " + why);
}

std::string Rest(const std::string& text, const std::string& prefix) {
    const std::string rest = text.substr(prefix.size());
    if (rest.empty())
        throw BadHost(text, "nothing follows " + Quoted(prefix));
    if (rest.find_first_of(" \t") != std::string::npos)
        throw BadHost(text, "blanks may not stand in " + Quoted(rest));
    return rest;
}

HostTerm ParseInterface(const std::string& text) {
    HostTerm term;
    const std::string rest = Rest(text, kInterfacePrefix);
    if (const auto type = SystemObjectOfName(rest)) {
        term.kind = HostTerm::Kind::InterfaceSystemObject;
        term.systemObject = *type;
        return term;
    }
    try {
        term.address = ParseAddressBlock(rest);
        term.kind = HostTerm::Kind::InterfaceAddress;
        return term;
    } catch (const TextFormError&) {
        if (std::isdigit(static_cast<unsigned char>(rest[0])) != 0)
            throw;
    }
    term.kind = HostTerm::Kind::Interface;
    term.name = rest;
    return term;
}

HostTerm ParseVpnId(const std::string& text, const std::string& prefix, HostTerm::Kind kind) {
    const std::string rest = Rest(text, prefix);
    const auto number = DecimalNumber(rest, kMaxVpnId);
    if (!number)
        throw BadHost(text, Quoted(rest) + " is not a non-negative number");
    HostTerm term;
    term.kind = kind;
    term.number = static_cast<long long>(*number);
    return term;
}

HostTerm ParseDomain(const std::string& text, const std::string& name) {
    const std::string fault = DomainFault(name);
    if (!fault.empty())
        throw BadHost(text, fault);
    HostTerm term;
    term.kind = HostTerm::Kind::DomainName;
    term.name = name;
    return term;
}

HostTerm ParseBare(const std::string& text) {
    if (const auto type = SystemObjectOfName(text)) {
        HostTerm term;
        term.kind = HostTerm::Kind::SystemObject;
        term.systemObject = *type;
        return term;
    }
    if (LooksLikeDomain(text))
        return ParseDomain(text, text);
    const bool addressLike = std::isdigit(static_cast<unsigned char>(text[0])) != 0 ||
                             text.find(':') != std::string::npos;
    if (addressLike) {
        HostTerm term;
        term.address = ParseAddressBlock(text);
        return term;
    }
    if (SystemObjectNameLike(text))
        ParseSystemObjectName(text);  // throws, with a hint at the right case
    if (MeansAnything(text))
        throw BadHost(text,
                      "a rule matches any host where it lists none (show prints *): leave the "
                      "option out, or clear the list with rule set --clear-source or "
                      "--clear-destination");
    throw BadHost(text,
                  "not an address, network, range, domain name, interface:NAME, "
                  "vpn-node:N, vpn-network:N, vpn-name:TEMPLATE, @object or system object");
}

}  // namespace

HostTerm ParseHostTerm(const std::string& text) {
    if (text.empty())
        throw TextFormError("an address is missing");
    if (const auto name = ParseObjectReference(text)) {
        HostTerm term;
        term.kind = HostTerm::Kind::ObjectReference;
        term.name = *name;
        return term;
    }
    if (StartsWith(text, kInterfacePrefix))
        return ParseInterface(text);
    if (StartsWith(text, kDomainPrefix))
        return ParseDomain(text, Rest(text, kDomainPrefix));
    if (StartsWith(text, kVpnNodePrefix))
        return ParseVpnId(text, kVpnNodePrefix, HostTerm::Kind::VpnNode);
    if (StartsWith(text, kVpnNetworkPrefix))
        return ParseVpnId(text, kVpnNetworkPrefix, HostTerm::Kind::VpnNetwork);
    if (StartsWith(text, kVpnNamePrefix)) {
        HostTerm term;
        term.kind = HostTerm::Kind::VpnNameTemplate;
        term.name = Rest(text, kVpnNamePrefix);
        return term;
    }
    return ParseBare(text);
}

std::string RenderHostTerm(const HostTerm& term) {
    switch (term.kind) {
        case HostTerm::Kind::Address:
            return RenderAddressBlock(term.address);
        case HostTerm::Kind::DomainName:
            return LooksLikeDomain(term.name) && !SystemObjectOfName(term.name)
                       ? term.name
                       : kDomainPrefix + term.name;
        case HostTerm::Kind::Interface:
            return kInterfacePrefix + term.name;
        case HostTerm::Kind::InterfaceAddress:
            return kInterfacePrefix + RenderAddressBlock(term.address);
        case HostTerm::Kind::InterfaceSystemObject:
            return kInterfacePrefix + SystemObjectName(term.systemObject);
        case HostTerm::Kind::ObjectReference:
            return RenderObjectReference(term.name);
        case HostTerm::Kind::SystemObject:
            return SystemObjectName(term.systemObject);
        case HostTerm::Kind::VpnNode:
            return kVpnNodePrefix + std::to_string(term.number);
        case HostTerm::Kind::VpnNetwork:
            return kVpnNetworkPrefix + std::to_string(term.number);
        case HostTerm::Kind::VpnNameTemplate:
            return kVpnNamePrefix + term.name;
    }
    return {};
}

}  // namespace fwpolicy::textforms
