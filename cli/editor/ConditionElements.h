#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

#include "HostTerms.h"
#include "ObjectDirectory.h"
#include "ProtocolNames.h"
#include "Schedules.h"
#include "Services.h"

namespace fwpolicy {

// Turns the plain values of the text forms into the document's condition
// elements, resolving object names through a directory. Every refusal is an
// EditError whose message names the refused text.

enum class NetworkSide { kPublic, kPrivate };

// A rule's source or destination from its entries: a public side (IP hosts
// and at most one interface) or a private side (VPN hosts). side, when
// given, decides where system objects belong; otherwise entries of VPN
// kinds make the side private and any other entry public.
std::unique_ptr<Sarvo::NetworkCondition> NetworkElement(
    const std::vector<textforms::HostTerm>& terms, std::optional<NetworkSide> side,
    const ObjectDirectory& objects);

// One member of an IP, interface or VPN object.
std::unique_ptr<Sarvo::IpHostCondition> IpHostElement(const textforms::HostTerm& term,
                                                      const ObjectDirectory& objects);
std::unique_ptr<Sarvo::InterfaceCondition> InterfaceElement(const textforms::HostTerm& term,
                                                            const ObjectDirectory& objects);
std::unique_ptr<Sarvo::VpnHostCondition> VpnHostElement(const textforms::HostTerm& term,
                                                        const ObjectDirectory& objects);

// A service or schedule entry as written: @object, a system object name, or
// the text form of a service or schedule.
std::unique_ptr<Sarvo::ServiceCondition> ServiceElement(const std::string& text,
                                                        const textforms::ProtocolNames& names,
                                                        const ObjectDirectory& objects);
std::unique_ptr<Sarvo::ScheduleCondition> ScheduleElement(const std::string& text,
                                                          const ObjectDirectory& objects);

// A single address (as NAT translates to), and a single port.
Sarvo::IpAddress AddressElement(const std::string& text);

// The parsed entry; a TextFormError becomes an EditError.
textforms::HostTerm ParseHostEntry(const std::string& text);

}  // namespace fwpolicy
