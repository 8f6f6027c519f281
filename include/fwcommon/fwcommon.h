#pragma once

// The whole public interface of fwcommon.

#include <fwcommon/CustomTCodeCvtWcharToChar.h>
#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObject.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/ListenerRegistry.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/StringUtilities.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>
