#pragma once

// The documented losses of writing named objects back into their elements,
// applied to a typed document so that a document before and after the
// write-back can be compared strictly:
//  - a member of a family's bare base type (an element without a kind)
//    cannot be held by an item and is left out;
//  - schedule times lose their seconds and their time zone, and a plain
//    Schedule comes back as a Daily;
//  - a ProtocolCondition of protocol 6 or 17 comes back as a TcpCondition
//    or UdpCondition without ports.
// Rules are not touched: they are written back exactly.

#include <fwcommon/rules.hxx>

namespace fwcommon::fuzz {

// Applies the losses to every named object of the document, in place.
void ApplyKnownLosses(Sarvo::PolicyType& policy);

}  // namespace fwcommon::fuzz
