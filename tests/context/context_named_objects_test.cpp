#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include "context/ContextTestSupport.h"

namespace fwcommon::test {
namespace {

std::vector<unsigned char> DocumentWithIpObject(int id, const std::string& creationType) {
    return PolicyXml(std::string(),
                     "<IpObject><Name>Office LAN</Name><Id>" + std::to_string(id) +
                         "</Id><CreationType>" + creationType +
                         "</CreationType><Inclusion xsi:type=\"sv:IpAddress\"><Value>10.0.0.1"
                         "</Value></Inclusion></IpObject>");
}

TEST(ContextNamedObjects, DatanameOfANamedObjectIsThatOfTheFirstDocumentKeepingIt) {
    Context context;
    context.AppendXmlReader(L"rules.xml", {}, User, {}, L"");
    context.AppendXmlReader(L"a.xml", DocumentWithIpObject(101, "Policy"), Policy, {}, L"");
    context.AppendXmlReader(L"b.xml", DocumentWithIpObject(101, "Policy"), Policy, {}, L"");

    const auto same = CreateNamedObject(101, L"other name", L"", eIpAddressObject, Policy);
    EXPECT_EQ(L"a.xml", context.GetDataname(same));

    context.RemoveXmlReader(L"a.xml");
    EXPECT_EQ(L"b.xml", context.GetDataname(same));
}

TEST(ContextNamedObjects, NamedObjectInNoDocumentHasAnEmptyDatanameAndIsLogged) {
    Context context;
    context.AppendXmlReader(L"a.xml", DocumentWithIpObject(101, "Policy"), Policy, {}, L"");
    const std::vector<std::shared_ptr<INamedObject>> strangers = {
        CreateNamedObject(102, L"n", L"", eIpAddressObject, Policy),
        CreateNamedObject(101, L"n", L"", eIpAddressObject, User),
        nullptr,
    };
    for (std::size_t i = 0; i < strangers.size(); ++i) {
        CapturedLog log;
        EXPECT_EQ(L"", context.GetDataname(strangers[i])) << "row " << i;
        EXPECT_EQ(std::vector<std::wstring>{LogLine(
                      4, L"fwcommon::Context::GetDataname. Dataname is empty")},
                  ContextLines(log))
            << "row " << i;
    }
}

}  // namespace
}  // namespace fwcommon::test
