#pragma once

// The whole public interface of fwcommon.

#include <fwcommon/ConditionComparator.h>
#include <fwcommon/CustomTCodeCvtWcharToChar.h>
#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/DomainTypes.h>
#include <fwcommon/IDomainObject.h>
#include <fwcommon/IDomainObjectListener.h>
#include <fwcommon/ILogDispFacade.h>
#include <fwcommon/ILogDispSink.h>
#include <fwcommon/INamedItem.h>
#include <fwcommon/IRule.h>
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
#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlNamedObjectFactory.h>
#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/XmlNamedObjectsStrictCompare.h>
#include <fwcommon/XmlRuleFactory.h>
#include <fwcommon/XmlRuleStrictComparator.h>
#include <fwcommon/XmlRulesStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>
