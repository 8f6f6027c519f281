// Every value the load accepts is written back as a value the load accepts
// again, and as the same value. The first input byte picks a slot of a
// small document, one per simple type the schema uses (dateTime, time,
// date, long, int, boolean, string, and the attributes of those types);
// the other bytes are the slot's text, put in as they are. When the parse
// accepts the document, the document is written, the written bytes must
// parse again, and the two typed documents must be equal.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>

#include "FuzzSupport.h"

namespace {

using fwcommon::fuzz::Fail;
using fwcommon::fuzz::TryParse;

// One slot: the document text before and after the value.
struct Slot {
    const char* before;
    const char* after;
};

const char kHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<sv:Policy xmlns:sv=\"urn:fwcommon:policy:rules\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";

// The rule, with the marker where a slot of the rule puts its value and
// the defaults that the other slots leave standing.
std::string Rule(const std::string& ruleId, const std::string& orderId, const std::string& name,
                 const std::string& stateless, const std::string& port, const std::string& protocol,
                 const std::string& icmpType, const std::string& startTime,
                 const std::string& startDate) {
    return "<Rules><Rule xsi:type=\"sv:LocalRule\"><RuleId>" + ruleId + "</RuleId><OrderId>" +
           orderId + "</OrderId><Name>" + name +
           "</Name><CreationType>User</CreationType><ConditionSet>"
           "<ScheduleCondition xsi:type=\"sv:Daily\"><StartTime>" +
           startTime +
           "</StartTime><EndTime>18:00:00</EndTime></ScheduleCondition>"
           "<ScheduleCondition xsi:type=\"sv:Calendar\"><StartTime>08:00:00</StartTime>"
           "<EndTime>18:00:00</EndTime><StartDate>" +
           startDate +
           "</StartDate><EndDate>2027-01-01</EndDate></ScheduleCondition>"
           "<ServiceCondition xsi:type=\"sv:TcpCondition\"><DestinationPort xsi:type=\"sv:Port\">"
           "<Value>" +
           port + "</Value></DestinationPort><Protocol>" + protocol +
           "</Protocol></ServiceCondition>"
           "<ServiceCondition xsi:type=\"sv:IcmpCondition\" Type=\"" +
           icmpType +
           "\"><Protocol>1</Protocol></ServiceCondition>"
           "</ConditionSet><Action xsi:type=\"sv:Filter\" IsConnectionStateless=\"" +
           stateless +
           "\"><FilteringAction>Pass</FilteringAction></Action>"
           "<Section>LocalSection</Section></Rule></Rules>\n";
}

std::string Properties(const std::string& version, const std::string& issued,
                       const std::string& period) {
    return "<Properties><Version>" + version + "</Version><IssueDateTime>" + issued +
           "</IssueDateTime><ApplicationDateTime>2026-11-30T09:20:00Z</ApplicationDateTime>"
           "<RollbackPeriod>" +
           period + "</RollbackPeriod></Properties>\n</sv:Policy>\n";
}

std::string IpObject(const std::string& id) {
    return "<NamedObjects><IpObject><Name>o</Name><Id>" + id +
           "</Id><CreationType>User</CreationType><Inclusion xsi:type=\"sv:IpAddress\">"
           "<Value>10.0.0.1</Value></Inclusion></IpObject></NamedObjects>\n";
}

enum SlotKind : unsigned {
    kIssueDateTime,
    kRollbackPeriod,
    kVersion,
    kRuleId,
    kOrderId,
    kName,
    kBooleanAttribute,
    kPort,
    kProtocol,
    kIcmpTypeAttribute,
    kStartTime,
    kStartDate,
    kObjectId,
    kSlotCount
};

std::string Document(unsigned slot, const std::string& v) {
    auto pick = [&](unsigned kind, const char* fallback) {
        return slot == kind ? v : std::string(fallback);
    };
    return kHead + IpObject(pick(kObjectId, "300001")) +
           Rule(pick(kRuleId, "300001"), pick(kOrderId, "300001"), pick(kName, "r"),
                pick(kBooleanAttribute, "true"), pick(kPort, "80"), pick(kProtocol, "6"),
                pick(kIcmpTypeAttribute, "8"), pick(kStartTime, "08:00:00"),
                pick(kStartDate, "2026-01-01")) +
           Properties(pick(kVersion, "1.0"), pick(kIssueDateTime, "2026-11-30T09:15:00Z"),
                      pick(kRollbackPeriod, "900"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned slot = data[0] % kSlotCount;
    const std::string value(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string text = Document(slot, value);
    const auto policy = TryParse(std::vector<unsigned char>(text.begin(), text.end()));
    if (!policy) {
        return 0;
    }
    std::vector<unsigned char> written;
    try {
        written = fwcommon::WritePolicyDocument(*policy);
    } catch (const std::exception& e) {
        Fail(std::string("a document the parse accepted was not written: ") + e.what());
    }
    const auto again = TryParse(written);
    if (!again) {
        Fail("the written document is refused: slot " + std::to_string(slot) + ", value \"" +
             value + "\"\n" + std::string(written.begin(), written.end()));
    }
    if (!(*again == *policy)) {
        Fail("the written document holds another value: slot " + std::to_string(slot) +
             ", value \"" + value + "\"\n" + std::string(written.begin(), written.end()));
    }
    return 0;
}
