#pragma once

// FWCOMMON_EXPORT marks the classes and functions that the shared library
// exports; the library is built with hidden visibility, so everything not
// marked stays internal.
#define FWCOMMON_EXPORT __attribute__((visibility("default")))
