#pragma once

// The strict comparator of two service objects, one of the kinds of
// XmlTypedObjectStrictComparator.h.
#include <fwcommon/XmlTypedObjectStrictComparator.h>
