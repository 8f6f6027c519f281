#pragma once

// The strict comparator of two schedule objects, one of the kinds of
// XmlTypedObjectStrictComparator.h.
#include <fwcommon/XmlTypedObjectStrictComparator.h>
