#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/IRule.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/MemoryLogSink.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/XmlReaderFactory.h>
#include "common/PolicyText.h"
#include "common/TestFiles.h"
#include "store/XmlReader.h"

namespace fwcommon::test {

// One rule element of the given kind ("LocalRule", ...) as XML text.
inline std::string RuleXml(const std::string& kind, long long ruleId, long long orderId,
                           const std::string& name, const std::string& creationType = "User",
                           const std::string& conditions = std::string()) {
    const std::string section = kind == "LocalRule"       ? "LocalSection"
                                : kind == "VpnRule"       ? "VpnSection"
                                : kind == "TransitRule"   ? "TransitSection"
                                : kind == "TunnelingRule" ? "TunnelingSection"
                                                          : "NatSection";
    return "<Rule xsi:type=\"sv:" + kind + "\"><RuleId>" + std::to_string(ruleId) +
           "</RuleId><OrderId>" + std::to_string(orderId) + "</OrderId><Name>" + name +
           "</Name><CreationType>" + creationType + "</CreationType><ConditionSet>" + conditions +
           "</ConditionSet><Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction>"
           "</Action><Section>" +
           section + "</Section></Rule>";
}

// A whole document with the given rules, and optionally named objects and
// options (their inner XML).
inline std::vector<unsigned char> PolicyXml(const std::string& rules,
                                            const std::string& namedObjects = std::string(),
                                            const std::string& options = std::string()) {
    return ToBytes(PolicyDocumentText(rules, namedObjects, options));
}

// A named object of the kind ("IpObject", ...) created by User, with its
// members' XML.
inline std::string NamedObjectXml(const std::string& kind, const std::string& name, int id,
                                  const std::string& members) {
    return "<" + kind + "><Name>" + name + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" + members + "</" + kind + ">";
}
inline std::string IpObject(const std::string& name, int id, const std::string& members) {
    return NamedObjectXml("IpObject", name, id, members);
}
inline std::string ServiceObject(const std::string& name, int id, const std::string& members) {
    return NamedObjectXml("ServiceObject", name, id, members);
}
inline std::string ScheduleObject(const std::string& name, int id, const std::string& members) {
    return NamedObjectXml("ScheduleObject", name, id, members);
}

// Members of an IP object, in the list named.
inline std::string Address(const std::string& value, const std::string& list = "Inclusion") {
    return "<" + list + " xsi:type=\"sv:IpAddress\"><Value>" + value + "</Value></" + list + ">";
}
inline std::string IpRef(int id, const std::string& list = "Inclusion") {
    return "<" + list + " xsi:type=\"sv:IpObjectRef\"><Id>" + std::to_string(id) + "</Id></" +
           list + ">";
}

inline std::shared_ptr<XmlReader> MakeReader(const std::vector<unsigned char>& bytes,
                                             CreationType type = User) {
    return std::static_pointer_cast<XmlReader>(GetXmlReader(bytes, L"test.xml", type));
}

// Names of a section's rules in the order the reader hands them out.
inline std::vector<std::wstring> Names(const std::shared_ptr<const RuleList>& rules) {
    std::vector<std::wstring> names;
    for (const auto& rule : *rules) {
        names.push_back(rule->GetName());
    }
    return names;
}

inline std::vector<long long> OrderIds(const std::shared_ptr<const RuleList>& rules) {
    std::vector<long long> ids;
    for (const auto& rule : *rules) {
        ids.push_back(rule->GetXmlRule()->OrderId());
    }
    return ids;
}

// Re-reads what the reader writes, as a plain typed document.
inline std::unique_ptr<Sarvo::PolicyType> Written(XmlReader& reader) {
    std::vector<unsigned char> bytes;
    reader.GetXmlData(bytes);
    return ParsePolicyDocument(bytes);
}

// Attaches a memory sink to the library's log for the life of the object.
class CapturedLog {
public:
    CapturedLog() { GetLibLogFacility().AttachSink(&sink_); }
    ~CapturedLog() { GetLibLogFacility().DetachSink(); }
    std::vector<std::wstring> Lines() const { return sink_.Lines(); }
    bool Contains(const std::wstring& text) const {
        for (const auto& line : Lines()) {
            if (line.find(text) != std::wstring::npos)
                return true;
        }
        return false;
    }

private:
    MemoryLogSink sink_;
};

}  // namespace fwcommon::test
