#include "QueryFlowText.h"

#include <ctime>
#include <stdexcept>

#include "IsoTime.h"
#include "Utf8.h"
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
    if (StartsWith(text, "name:")) {
        end.kind = Kind::eNodeName;
        end.text = FlowName(text.substr(5), "node name");
        return end;
    }
    if (textforms::SystemObjectOfName(text)) {
        end.kind = Kind::eSystemObject;
        end.text = Wide(text);
        return end;
    }
    if (LooksLikeAddress(text)) {
        end.kind = Kind::eAddress;
        end.text = Wide(textforms::ParseIpAddress(text).text);
        return end;
    }
    if (const auto like = textforms::SystemObjectNameLike(text)) {
        throw TextFormError("bad flow end " + textforms::Quoted(text) +
                            ": system object names are case-sensitive (did you mean " +
                            textforms::Quoted(*like) + "?)");
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
