// Compiled as a file of the store, which may not use the Context: the build
// must refuse this include.
#include "context/PrivateObjectListener.h"
