#pragma once

// The whole public interface of fwcommon.

#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>
