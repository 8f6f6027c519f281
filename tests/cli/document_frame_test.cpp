// The frame of a written document: its options and properties read and
// written without the named objects and rules, and spliced back so that
// the whole document comes out as the library would write it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "PolicyText.h"
#include "common/TestFiles.h"
#include "editor/DocumentFrame.h"

namespace {

using fwcommon::test::GeneratedPolicy;
using fwcommon::test::IpObjectElement;
using fwcommon::test::PolicyDocument;
using fwcommon::test::RuleElement;

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::string Option(const std::string& attributes, const std::string& name,
                   const std::string& value) {
    return "<Option" + attributes + "><Name>" + name + "</Name><Value>" + value +
           "</Value><CreationType>User</CreationType></Option>";
}

struct Row {
    const char* what;
    std::string document;
};

std::vector<Row> Rows() {
    // A rule and an option whose texts look like the tags the frame is cut at.
    const std::string trickyRule =
        RuleElement("TransitRule", 300001, 300001, "&lt;/Rules&gt; &lt;Options&gt;", "User") +
        RuleElement("TransitRule", 300002, 300002, "-x", "User");
    const std::string options =
        Option(" TargetPlatform=\"a&gt;b\" Reserved='&lt;/Rules>'", "Audit", "on") +
        Option("", "&lt;Rules/&gt;", "2");
    return {
        {"objects, rules and options",
         PolicyDocument(trickyRule + RuleElement("LocalRule", 200001, 200001, "Local"),
                        IpObjectElement("-", 300101, "User", "10.0.0.1"), options)},
        {"no named objects", PolicyDocument(trickyRule, "", options)},
        {"no rules",
         PolicyDocument("", IpObjectElement("Office", 300101, "User", "10.0.0.1"), options)},
        {"no options", PolicyDocument(trickyRule)},
    };
}

TEST(DocumentFrame, HoldsTheOptionsAndPropertiesAndWritesBackTheSameBytes) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.what);
        const auto whole = fwcommon::ParsePolicyDocument(Bytes(row.document));
        const std::vector<unsigned char> written = fwcommon::WritePolicyDocument(*whole);
        const fwpolicy::Frame frame = fwpolicy::ParseFrame(written);
        EXPECT_TRUE(frame.policy->Rules().Rule().empty());
        EXPECT_FALSE(frame.policy->NamedObjects());
        // (The binding's types cannot be printed: compared, not EXPECT_EQ.)
        EXPECT_TRUE(whole->Options() == frame.policy->Options());
        EXPECT_TRUE(whole->Properties() == frame.policy->Properties());
        EXPECT_EQ(written, fwpolicy::WithTailOf(written, frame));
    }
}

TEST(DocumentFrame, ChangedOptionsComeOutAsTheWholeDocumentWouldBeWritten) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.what);
        const auto whole = fwcommon::ParsePolicyDocument(Bytes(row.document));
        const std::vector<unsigned char> written = fwcommon::WritePolicyDocument(*whole);
        const auto change = [](Sarvo::PolicyType& policy) {
            if (!policy.Options())
                policy.Options(Sarvo::Options());
            auto& options = policy.Options()->Option();
            options.insert(options.begin(),
                           Sarvo::Option(L"First </Rules>", L"1", Sarvo::CreationTypes::User));
            if (options.size() > 1)
                options.back().Value(L"changed");
        };
        const fwpolicy::Frame frame = fwpolicy::ParseFrame(written);
        change(*frame.policy);
        change(*whole);
        EXPECT_EQ(fwcommon::WritePolicyDocument(*whole), fwpolicy::WithTailOf(written, frame));
    }
}

// Generated policies hold every kind of rule, object and option
// attribute: each option changed in the frame comes out as in the whole.
TEST(DocumentFrame, EveryOptionOfGeneratedPoliciesIsWrittenBackAsTheWholeWouldBe) {
    const fwcommon::test::TempDir dir;
    for (const char* seed : {"1", "2", "3"}) {
        SCOPED_TRACE(std::string("seed ") + seed);
        const auto whole = fwcommon::ParsePolicyDocument(fwcommon::test::ReadBytes(
            GeneratedPolicy(dir.path(), std::string("p") + seed + ".xml",
                            std::string("--rules 60 --options 6 --seed ") + seed)));
        const std::vector<unsigned char> written = fwcommon::WritePolicyDocument(*whole);
        ASSERT_TRUE(whole->Options());
        for (std::size_t i = 0; i < whole->Options()->Option().size(); ++i) {
            const fwpolicy::Frame frame = fwpolicy::ParseFrame(written);
            auto changed = fwcommon::ParsePolicyDocument(written);
            frame.policy->Options()->Option()[i].Value(L"changed");
            changed->Options()->Option()[i].Value(L"changed");
            EXPECT_EQ(fwcommon::WritePolicyDocument(*changed), fwpolicy::WithTailOf(written, frame))
                << "option " << i;
        }
    }
}

}  // namespace
