// Compiled as a file of the domain, which may not use the store: the build
// must refuse this include.
#include "store/XmlReader.h"
