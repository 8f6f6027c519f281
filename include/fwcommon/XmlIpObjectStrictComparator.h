#pragma once

// The strict comparator of two IP-address objects, one of the kinds of
// XmlTypedObjectStrictComparator.h.
#include <fwcommon/XmlTypedObjectStrictComparator.h>
