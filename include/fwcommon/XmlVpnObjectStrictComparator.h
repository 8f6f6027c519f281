#pragma once

// The strict comparator of two VPN host groups (Sarvo::VpnObject), one of the kinds of
// XmlTypedObjectStrictComparator.h.
#include <fwcommon/XmlTypedObjectStrictComparator.h>
