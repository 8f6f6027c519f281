#include "verbs/QueryFlowText.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>

#include "CommandLine.h"
#include "text/IsoTime.h"
#include "text/Utf8.h"
#include "textforms/Addresses.h"
#include "textforms/References.h"
#include "textforms/Services.h"
#include "textforms/TextFormError.h"
#include "textforms/TextScan.h"

namespace fwpolicy {
namespace {

using textforms::TextFormError;

constexpr unsigned long kMaxVpnIdentifier = 0xFFFFFFFFul;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kDateLength = 10;  // YYYY-MM-DD

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The number after a prefix such as "node:".
std::int64_t VpnIdentifier(const std::string& text, const std::string& prefix) {
    const auto number = textforms::DecimalNumber(text.substr(prefix.size()), kMaxVpnIdentifier);
    if (!number) {
        throw TextFormError("bad flow end " + textforms::Quoted(text) + ": " +
                            textforms::Quoted(text.substr(prefix.size())) +
                            " is not a VPN identifier (a number from 0 to 4294967295)");
    }
    return static_cast<std::int64_t>(*number);
}

bool HasControlCharacter(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

// A name of the flow (node or interface) as the documents hold names: not
// empty, UTF-8, no control characters.
std::wstring FlowName(const std::string& text, const std::string& what) {
    if (text.empty()) {
        throw TextFormError("bad " + what + " '': the name is empty");
    }
    if (HasControlCharacter(text)) {
        throw TextFormError("bad " + what + ": the name holds a control character");
    }
    std::wstring name = FromUtf8(text);
    if (ToUtf8(name) != text) {
        throw TextFormError("bad " + what + ": the name is not valid UTF-8");
    }
    return name;
}

bool LooksLikeAddress(const std::string& text) {
    return !text.empty() && (text.find(':') != std::string::npos ||
                             text.find_first_not_of("0123456789.") == std::string::npos);
}

// A network or range written where the flow needs one host: the host when
// the block holds a single address, else refused. Nothing for text that is
// no address block ("Laptop-7").
std::optional<std::string> HostOfBlock(const std::string& text) {
    const std::size_t slash = text.find('/');
    const std::size_t dash = text.find('-');
    const bool network = slash != std::string::npos && LooksLikeAddress(text.substr(0, slash));
    const bool range = !network && dash != std::string::npos &&
                       LooksLikeAddress(text.substr(0, dash)) &&
                       LooksLikeAddress(text.substr(dash + 1));
    if (!network && !range) {
        return std::nullopt;
    }
    const textforms::AddressBlock block = textforms::ParseAddressBlock(text);
    const unsigned hostPrefix = block.first.family == textforms::AddressFamily::IPv4 ? 32 : 128;
    if (block.kind == textforms::AddressBlock::Kind::Network && block.prefixLength != hostPrefix) {
        throw TextFormError(textforms::Quoted(text) +
                            " is a network, not one host; give one address of it");
    }
    if (block.kind == textforms::AddressBlock::Kind::Range && !(block.first == block.last)) {
        throw TextFormError(textforms::Quoted(text) +
                            " is a range, not one host; give one address of it");
    }
    return block.first.text;
}

// The "word:" a text starts with when the word is no group of IPv6 hex
// digits ("interface:" of "interface:eth0"); empty otherwise.
std::string FormPrefix(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) {
        return std::string();
    }
    const std::string word = text.substr(0, colon);
    const bool letters =
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-") ==
        std::string::npos;
    const bool hex = word.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    return letters && !hex ? word + ":" : std::string();
}

// Refuses the forms of a rule's entries that name no one host: a named
// object, an interface, or any other "word:" the flow has no use for.
void RefuseEntryForm(const std::string& text) {
    const std::string bad = "bad flow end " + textforms::Quoted(text) + ": ";
    if (textforms::MeansAnything(text)) {
        throw TextFormError(bad +
                            "a flow end is one host; leave the option out and that end "
                            "stays open (a node of this name is " +
                            textforms::Quoted("name:" + text) + ")");
    }
    if (!text.empty() && text.front() == '@') {
        throw TextFormError(bad + "a named object is no one host; give one address of it (a " +
                            "node of this name is " + textforms::Quoted("name:" + text) + ")");
    }
    const std::string prefix = FormPrefix(text);
    if (prefix == "interface:") {
        throw TextFormError(bad + "give the interface with --in-interface or --out-interface");
    }
    if (!prefix.empty()) {
        throw TextFormError(bad + textforms::Quoted(prefix) +
                            " is no form of a flow end; give an address, node:N, network:N, "
                            "name:NODE or a system object name");
    }
}

// Why text, which is no system object name, is refused as a slip of one
// (the other case, or an edit or two); nothing when it resembles none.
std::optional<std::string> SystemObjectSlip(const std::string& text) {
    if (const auto like = textforms::SystemObjectNameLike(text)) {
        return "system object names are case-sensitive; did you mean " + textforms::Quoted(*like) +
               "?";
    }
    const auto lower = [](std::string word) {
        for (char& c : word) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return word;
    };
    std::vector<std::string> names;
    std::vector<std::string> lowered;
    for (std::int32_t value = 0; value < fwcommon::kSystemObjectTypeCount; ++value) {
        names.push_back(
            textforms::SystemObjectName(static_cast<fwcommon::SystemObjectTypes>(value)));
        lowered.push_back(lower(names.back()));
    }
    const auto closest = ClosestMatch(lower(text), lowered);
    if (!closest) {
        return std::nullopt;
    }
    const auto at = std::find(lowered.begin(), lowered.end(), *closest) - lowered.begin();
    return "no system object has this name (a node of this name is " +
           textforms::Quoted("name:" + text) + "); did you mean " +
           textforms::Quoted(names[static_cast<std::size_t>(at)]) + "?";
}

// A single port of a flow; a range names no one flow.
std::optional<std::int64_t> SinglePort(const std::string& text,
                                       const std::optional<textforms::PortSpan>& span) {
    if (!span) {
        return std::nullopt;
    }
    if (span->range && span->first != span->last) {
        throw TextFormError("bad flow service " + textforms::Quoted(text) +
                            ": a flow has one port on each side, not a range");
    }
    return span->first;
}

}  // namespace

fwcommon::QueryEndpoint ParseFlowEndpoint(const std::string& text) {
    using Kind = fwcommon::QueryEndpoint::Kind;
    fwcommon::QueryEndpoint end;
    for (const char* prefix : {"node:", "vpn-node:"}) {
        if (StartsWith(text, prefix)) {
            end.kind = Kind::eVpnNode;
            end.id = VpnIdentifier(text, prefix);
            return end;
        }
    }
    for (const char* prefix : {"network:", "vpn-network:"}) {
        if (StartsWith(text, prefix)) {
            end.kind = Kind::eVpnNetwork;
            end.id = VpnIdentifier(text, prefix);
            return end;
        }
    }
    for (const std::string prefix : {"name:", "vpn-name:"}) {
        if (StartsWith(text, prefix)) {
            end.kind = Kind::eNodeName;
            end.text = FlowName(text.substr(prefix.size()), "node name");
            return end;
        }
    }
    if (textforms::SystemObjectOfName(text)) {
        end.kind = Kind::eSystemObject;
        end.text = Wide(text);
        return end;
    }
    RefuseEntryForm(text);
    if (const auto host = HostOfBlock(text)) {
        end.kind = Kind::eAddress;
        end.text = Wide(*host);
        return end;
    }
    if (LooksLikeAddress(text)) {
        end.kind = Kind::eAddress;
        end.text = Wide(textforms::ParseIpAddress(text).text);
        return end;
    }
    if (const auto slip = SystemObjectSlip(text)) {
        throw TextFormError("bad flow end " + textforms::Quoted(text) + ": " + *slip);
    }
    if (text.empty()) {
        throw TextFormError(
            "bad flow end '': give an address, node:N, network:N, name:NODE or "
            "a system object name");
    }
    end.kind = Kind::eNodeName;
    end.text = FlowName(text, "node name");
    return end;
}

std::wstring ParseFlowInterface(const std::string& text) {
    return FlowName(text, "interface name");
}

fwcommon::QueryService ParseFlowService(const std::string& text) {
    static const textforms::ProtocolNames names = textforms::ProtocolNames::FromDictionary();
    if (textforms::MeansAnything(text)) {
        throw TextFormError("bad flow service " + textforms::Quoted(text) +
                            ": a flow has one service; leave the option out and it stays open");
    }
    const textforms::ServiceValue value = textforms::ParseService(text, names);
    fwcommon::QueryService service;
    service.protocol = value.protocol;
    switch (value.kind) {
        case textforms::ServiceValue::Kind::Ports:
            service.sourcePort = SinglePort(text, value.sourcePort);
            service.destinationPort = SinglePort(text, value.destinationPort);
            break;
        case textforms::ServiceValue::Kind::Icmp:
            service.sourcePort = value.icmpType;
            service.destinationPort = value.icmpCode;
            break;
        case textforms::ServiceValue::Kind::Protocol:
            break;
    }
    return service;
}

fwcommon::QueryTime ParseFlowTime(const std::string& text) {
    if (text.size() > kDateLength && text.find_first_of("Zz+-", kDateLength) != std::string::npos) {
        throw std::invalid_argument("'" + text +
                                    "' has a time zone; schedules follow the node's clock, so "
                                    "give its local time without one (2026-12-07T10:00:00)");
    }
    const std::int64_t seconds = ParseIsoDateTime(text);
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const std::time_t midnight = static_cast<std::time_t>(days * kSecondsPerDay);
    std::tm civil{};
    if (gmtime_r(&midnight, &civil) == nullptr) {
        throw std::invalid_argument("not an ISO-8601 date and time: '" + text + "'");
    }
    fwcommon::QueryTime time;
    time.year = civil.tm_year + 1900;
    time.month = civil.tm_mon + 1;
    time.day = civil.tm_mday;
    time.secondOfDay = secondOfDay;
    return time;
}

}  // namespace fwpolicy
