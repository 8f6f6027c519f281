#pragma once

// The parameter identifiers of INamedItem::GetParam: what each number asks
// an item or a named object for. GetParamIds lists the ones an item holds;
// the values are fixed by the interface and never change.

namespace fwcommon {

// Every item, and a named object: the display text (an object's name).
constexpr int kParamDisplayText = 0;

// Schedule items.
constexpr int kParamScheduleKind = 1;  // "Daily", "Weekly" or "Calendar"
constexpr int kParamStartDate = 2;     // year/month/day
constexpr int kParamEndDate = 3;
constexpr int kParamStartTime = 4;  // hour:minute
constexpr int kParamEndTime = 5;
constexpr int kParamDaySet = 6;  // week days as a decimal bit set
constexpr int kParamStartHour = 7;
constexpr int kParamEndHour = 8;
constexpr int kParamStartMinute = 9;
constexpr int kParamEndMinute = 10;
constexpr int kParamStartYear = 11;
constexpr int kParamStartMonth = 12;
constexpr int kParamStartDay = 13;
constexpr int kParamEndYear = 14;
constexpr int kParamEndMonth = 15;
constexpr int kParamEndDay = 16;

// Service items.
constexpr int kParamProtocol = 17;
constexpr int kParamProtocolText = 18;
constexpr int kParamSourcePortFrom = 19;
constexpr int kParamSourcePortTo = 20;
constexpr int kParamDestinationPortFrom = 21;
constexpr int kParamDestinationPortTo = 22;
constexpr int kParamIcmpCode = 23;
constexpr int kParamIcmpType = 24;

// IP-address and interface items.
constexpr int kParamMask = 25;
constexpr int kParamRangeStart = 26;
constexpr int kParamRangeEnd = 27;
constexpr int kParamAddress = 28;
constexpr int kParamFreeText = 29;
constexpr int kParamInterfaceName = 30;

// VPN host items.
constexpr int kParamNameTemplate = 31;
constexpr int kParamNetwork = 32;
constexpr int kParamNode = 33;

// Named objects.
constexpr int kParamObjectIdentifier = 34;
constexpr int kParamDescription = 35;

}  // namespace fwcommon
