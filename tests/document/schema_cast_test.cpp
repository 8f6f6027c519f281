// SchemaCast gives what dynamic_cast gives, for every generated class of a
// family, on the conditions, rules and named objects of a document that
// holds every kind, and on a subclass of the caller's own.

#include <set>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/SchemaCast.h"

namespace fwcommon::test {
namespace {

using document::SchemaCast;
namespace schema_cast = document::schema_cast;

// Compares SchemaCast<T> with dynamic_cast<T> for each T of the family;
// `seen` collects the exact types met.
template <typename Base, typename... Members>
void ExpectSameAsDynamicCast(const Base& x, schema_cast::Family<Members...>,
                             std::set<std::string>& seen) {
    seen.insert(typeid(x).name());
    const auto one = [&x](auto* tag) {
        using T = std::remove_pointer_t<decltype(tag)>;
        EXPECT_EQ(dynamic_cast<const T*>(&x), SchemaCast<T>(x))
            << typeid(x).name() << " as " << typeid(T).name();
    };
    (one(static_cast<Members*>(nullptr)), ...);
}

void ExpectSameAsDynamicCast(const Sarvo::AbstractCondition& c, std::set<std::string>& seen) {
    ExpectSameAsDynamicCast(c, schema_cast::Conditions{}, seen);
}

TEST(SchemaCast, AgreesWithDynamicCastOnEveryKindOfADocument) {
    const auto policy = ParsePolicyDocument(ReadBytes(SourcePath("tests/data/cli/every-kind.xml")));
    std::set<std::string> conditions;
    std::set<std::string> rules;
    std::set<std::string> objects;
    const auto& named = policy->NamedObjects();
    ASSERT_TRUE(named.present());
    const auto eachObject = [&](const auto& sequence) {
        for (const Sarvo::NamedObject& object : sequence) {
            ExpectSameAsDynamicCast(object, schema_cast::NamedObjects{}, objects);
            ForEachMember(object, [&](const auto& member, ConditionPurpose::Type) {
                ExpectSameAsDynamicCast(member, conditions);
            });
        }
    };
    eachObject(named->IpObject());
    eachObject(named->InterfaceObject());
    eachObject(named->VpnObject());
    eachObject(named->ServiceObject());
    eachObject(named->ScheduleObject());
    for (const Sarvo::Rule& rule : policy->Rules().Rule()) {
        ExpectSameAsDynamicCast(rule, schema_cast::Rules{}, rules);
        ForEachCondition(rule.ConditionSet(), [&](const auto& condition, ConditionPurpose::Type) {
            ExpectSameAsDynamicCast(condition, conditions);
        });
    }
    // The document must hold many kinds, or the comparison proves little.
    EXPECT_GE(conditions.size(), 15u);
    EXPECT_EQ(5u, rules.size());
    EXPECT_EQ(5u, objects.size());
}

// A type outside the generated ones goes to dynamic_cast, which sees its
// generated bases.
struct CallersAddress : Sarvo::IpAddress {
    using Sarvo::IpAddress::IpAddress;
};

TEST(SchemaCast, ASubclassOfTheCallersOwnIsCastAsDynamicCastDoes) {
    const CallersAddress address(Sarvo::IpAddress::Value_type(L"10.0.0.1"));
    const Sarvo::AbstractCondition& condition = address;
    EXPECT_EQ(&address, SchemaCast<Sarvo::IpAddress>(condition));
    EXPECT_EQ(&address, SchemaCast<Sarvo::IpPrimitive>(condition));
    EXPECT_EQ(&address, SchemaCast<Sarvo::IpHostCondition>(condition));
    EXPECT_EQ(nullptr, SchemaCast<Sarvo::IpMask>(condition));
    EXPECT_EQ(nullptr, SchemaCast<Sarvo::ServiceCondition>(condition));
    std::set<std::string> seen;
    ExpectSameAsDynamicCast(condition, seen);
}

}  // namespace
}  // namespace fwcommon::test
