#pragma once

// The whole public interface of fwcommon.

#include <fwcommon/CustomTCodeCvtWcharToChar.h>
#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObject.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/ILogDispFacade.h>
#include <fwcommon/ILogDispSink.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/ListenerRegistry.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>
#include <fwcommon/StreamLogSink.h>
#include <fwcommon/StringUtilities.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>
