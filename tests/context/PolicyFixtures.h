#pragma once

#include <string>
#include <vector>

#include "store/StoreTestSupport.h"

namespace fwcommon::test {

// An IpObject element holding one address and, optionally, references to
// other IP objects.
inline std::string IpObjectXml(int id, const std::string& name,
                               const std::string& creationType = "Policy",
                               const std::vector<int>& included = {}) {
    std::string xml = "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
                      "</Id><CreationType>" + creationType +
                      "</CreationType><Inclusion xsi:type=\"sv:IpAddress\"><Value>10.0.0." +
                      std::to_string(id % 250) + "</Value></Inclusion>";
    for (int reference : included) {
        xml += "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>" + std::to_string(reference) +
               "</Id></Inclusion>";
    }
    return xml + "</IpObject>";
}

// A condition set whose destination names the IP object.
inline std::string DestinationIsObject(int id) {
    return "<Destination xsi:type=\"sv:PublicNetwork\"><IpHostCondition "
           "xsi:type=\"sv:IpObjectRef\"><Id>" +
           std::to_string(id) + "</Id></IpHostCondition></Destination>";
}

// A condition set whose source names the IP object.
inline std::string SourceIsObject(int id) {
    return "<Source xsi:type=\"sv:PublicNetwork\"><IpHostCondition "
           "xsi:type=\"sv:IpObjectRef\"><Id>" +
           std::to_string(id) + "</Id></IpHostCondition></Source>";
}

// A ServiceObject element holding one TCP destination port.
inline std::string ServiceObjectXml(int id, const std::string& name, int port,
                                    const std::string& creationType = "Policy") {
    return "<ServiceObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>" + creationType +
           "</CreationType><Inclusion xsi:type=\"sv:TcpCondition\"><DestinationPort "
           "xsi:type=\"sv:Port\"><Value>" +
           std::to_string(port) + "</Value></DestinationPort><Protocol>6</Protocol></Inclusion>" +
           "</ServiceObject>";
}

// A service condition naming the service object.
inline std::string ServiceIsObject(int id) {
    return "<ServiceCondition xsi:type=\"sv:ServiceObjectRef\"><Id>" + std::to_string(id) +
           "</Id></ServiceCondition>";
}

inline std::string OptionXml(const std::string& name, const std::string& value,
                             const std::string& creationType = "User") {
    return "<Option><Name>" + name + "</Name><Value>" + value + "</Value><CreationType>" +
           creationType + "</CreationType></Option>";
}

// Whether the written text holds the part.
inline bool Holds(const std::string& written, const std::string& part) {
    return written.find(part) != std::string::npos;
}

}  // namespace fwcommon::test
