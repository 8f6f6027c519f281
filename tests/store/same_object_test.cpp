// SameObject: two objects are one to a merge when they differ at most in
// their Ids and in the Ids of their references, whose targets are the same
// in turn; with equal Ids throughout the objects are compared as they are.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/PolicyText.h"
#include "store/SameObject.h"

namespace fwcommon::test {
namespace {

std::string Ip(const std::string& name, int id, const std::string& address,
               const std::string& creation = "Policy") {
    return "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) + "</Id><CreationType>" +
           creation + "</CreationType><Inclusion xsi:type=\"sv:IpAddress\"><Value>" + address +
           "</Value></Inclusion></IpObject>";
}

// An ip object that holds references to the ip objects of `targets`.
std::string Group(const std::string& name, int id, const std::vector<int>& targets) {
    std::string members;
    for (const int target : targets)
        members += "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>" + std::to_string(target) +
                   "</Id></Inclusion>";
    return "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>Policy</CreationType>" + members + "</IpObject>";
}

std::unique_ptr<Sarvo::PolicyType> Parsed(const std::string& objects) {
    const std::string text = PolicyDocumentText("", objects);
    return ParsePolicyDocument(std::vector<unsigned char>(text.begin(), text.end()));
}

struct SameRow {
    const char* what;
    std::string a;  // the objects of one document; the last one is compared
    std::string b;
    bool same;
};

TEST(SameObject, IdsAloneNeverTellObjectsApart) {
    const SameRow rows[] = {
        {"equal, one Id", Ip("Web", 7, "10.0.0.1"), Ip("Web", 7, "10.0.0.1"), true},
        {"equal, other Ids", Ip("Web", 7, "10.0.0.1"), Ip("Web", 9, "10.0.0.1"), true},
        {"another address", Ip("Web", 7, "10.0.0.1"), Ip("Web", 7, "10.0.0.2"), false},
        {"another name", Ip("Web", 7, "10.0.0.1"), Ip("Mail", 7, "10.0.0.1"), false},
        {"another creation type", Ip("Web", 7, "10.0.0.1"), Ip("Web", 7, "10.0.0.1", "User"),
         false},
        {"references of one Id to equal targets", Ip("A", 1, "10.0.0.1") + Group("G", 5, {1}),
         Ip("A", 1, "10.0.0.1") + Group("G", 5, {1}), true},
        {"references of other Ids to equal targets", Ip("A", 1, "10.0.0.1") + Group("G", 5, {1}),
         Ip("A", 3, "10.0.0.1") + Group("G", 5, {3}), true},
        {"references of one Id to other targets", Ip("A", 1, "10.0.0.1") + Group("G", 5, {1}),
         Ip("A", 1, "10.0.0.9") + Group("G", 5, {1}), false},
        {"another number of references", Ip("A", 1, "10.0.0.1") + Group("G", 5, {1}),
         Ip("A", 1, "10.0.0.1") + Group("G", 5, {1, 1}), false},
        {"references to no object, one Id", Group("G", 5, {4}), Group("G", 5, {4}), true},
        {"references to no object, other Ids", Group("G", 5, {4}), Group("G", 5, {6}), false},
    };
    for (const SameRow& row : rows) {
        SCOPED_TRACE(row.what);
        const auto a = Parsed(row.a);
        const auto b = Parsed(row.b);
        const ObjectIndex aIndex(*a->NamedObjects());
        const ObjectIndex bIndex(*b->NamedObjects());
        const auto& aObject = a->NamedObjects()->IpObject().back();
        const auto& bObject = b->NamedObjects()->IpObject().back();
        EXPECT_EQ(row.same, SameObject(eIpAddressObject, aObject, aIndex, bObject, bIndex));
        EXPECT_EQ(row.same, SameObject(eIpAddressObject, bObject, bIndex, aObject, aIndex));
    }
}

}  // namespace
}  // namespace fwcommon::test
