// fwpolicy merge over generated policies whose named objects share their
// identifiers: every merged rule still means what it meant in its own file.

#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fwcommon/PolicyDocument.h>
#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Object references as the written document shows them: the kind of object
// ("Ip", "Service", ...) and the Id, in document order.
using References = std::vector<std::pair<std::string, int>>;

References ReferencesIn(const std::string& xml) {
    static const std::regex reference(
        "xsi:type=\"sv:(Ip|Interface|Service|Schedule|Vpn)ObjectRef\"[^>]*>\\s*<Id>(-?[0-9]+)</"
        "Id>");
    References out;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), reference);
         it != std::sregex_iterator(); ++it) {
        out.emplace_back((*it)[1].str(), std::stoi((*it)[2].str()));
    }
    return out;
}

// One policy as the test reads it: rules by name, objects by kind and Id,
// each as the text the library writes for a document holding only it.
class PolicyView {
public:
    explicit PolicyView(const std::vector<unsigned char>& bytes)
        : policy_(ParsePolicyDocument(bytes)), empty_(EmptyCopy(*policy_)) {
        for (const Sarvo::Rule& rule : policy_->Rules().Rule()) {
            auto alone = std::make_unique<Sarvo::PolicyType>(*empty_);
            alone->Rules().Rule().push_back(rule);
            rules_[rule.Name()] = ToString(WritePolicyDocument(*alone));
        }
        if (policy_->NamedObjects()) {
            const Sarvo::NamedObjects& objects = *policy_->NamedObjects();
            Enter("Ip", objects.IpObject());
            Enter("Interface", objects.InterfaceObject());
            Enter("Service", objects.ServiceObject());
            Enter("Schedule", objects.ScheduleObject());
            Enter("Vpn", objects.VpnObject());
        }
    }

    const std::map<std::wstring, std::string>& Rules() const { return rules_; }
    std::size_t ObjectCount() const { return objects_.size(); }
    bool ObjectIdsAreUniquePerKind() const { return unique_; }
    std::set<int> ObjectIds() const {
        std::set<int> ids;
        for (const auto& entry : objects_) {
            ids.insert(entry.first.second);
        }
        return ids;
    }

    // What the object means, independent of identifiers: its text with
    // every Id taken out, followed by what the objects it refers to mean.
    std::string Meaning(const std::string& kind, int id, int depth = 0) const {
        auto known = meanings_.find({kind, id});
        if (known != meanings_.end()) {
            return known->second;
        }
        auto found = objects_.find({kind, id});
        if (found == objects_.end() || depth > 16) {
            return "(no " + kind + " object " + std::to_string(id) + ")";
        }
        static const std::regex anyId("<Id>-?[0-9]+</Id>");
        std::string meaning = kind + ":" + std::regex_replace(found->second, anyId, "<Id/>");
        for (const auto& [refKind, refId] : ReferencesIn(found->second)) {
            meaning += "[" + Meaning(refKind, refId, depth + 1) + "]";
        }
        meanings_[{kind, id}] = meaning;
        return meaning;
    }

private:
    static std::unique_ptr<Sarvo::PolicyType> EmptyCopy(const Sarvo::PolicyType& policy) {
        auto empty = std::make_unique<Sarvo::PolicyType>(policy.Rules(), policy.Properties());
        empty->Rules().Rule().clear();
        return empty;
    }

    template <typename Sequence>
    void Enter(const std::string& kind, const Sequence& objects) {
        for (const auto& object : objects) {
            auto alone = std::make_unique<Sarvo::PolicyType>(*empty_);
            alone->NamedObjects(Sarvo::NamedObjects());
            ObjectsOfKind(*alone->NamedObjects(), object).push_back(object);
            std::string text = ToString(WritePolicyDocument(*alone));
            // Only the object's element: the envelope differs between files.
            const auto begin = text.find("<NamedObjects>");
            const auto end = text.find("</NamedObjects>");
            text = text.substr(begin, end - begin);
            unique_ &= objects_.emplace(std::make_pair(kind, object.Id()), text).second;
        }
    }

    static Sarvo::NamedObjects::IpObject_sequence& ObjectsOfKind(Sarvo::NamedObjects& o,
                                                                 const Sarvo::IpObject&) {
        return o.IpObject();
    }
    static Sarvo::NamedObjects::InterfaceObject_sequence& ObjectsOfKind(
        Sarvo::NamedObjects& o, const Sarvo::InterfaceObject&) {
        return o.InterfaceObject();
    }
    static Sarvo::NamedObjects::ServiceObject_sequence& ObjectsOfKind(Sarvo::NamedObjects& o,
                                                                      const Sarvo::ServiceObject&) {
        return o.ServiceObject();
    }
    static Sarvo::NamedObjects::ScheduleObject_sequence& ObjectsOfKind(
        Sarvo::NamedObjects& o, const Sarvo::ScheduleObject&) {
        return o.ScheduleObject();
    }
    static Sarvo::NamedObjects::VpnObject_sequence& ObjectsOfKind(Sarvo::NamedObjects& o,
                                                                  const Sarvo::VpnObject&) {
        return o.VpnObject();
    }

    std::unique_ptr<Sarvo::PolicyType> policy_;
    std::unique_ptr<Sarvo::PolicyType> empty_;  // the envelope alone
    std::map<std::wstring, std::string> rules_;
    std::map<std::pair<std::string, int>, std::string> objects_;
    mutable std::map<std::pair<std::string, int>, std::string> meanings_;
    bool unique_ = true;
};

const std::string kDistinct = "--distinct-destinations";

// "fwpolicy: b.xml: ip object "Name" renumbered 300001 → 300041 (...)"
std::vector<std::pair<std::string, int>> RenumberedObjects(const std::string& err) {
    static const std::regex line(
        "fwpolicy: (.*): (ip|interface|vpn|service|schedule) object \"[^\"]*\" renumbered "
        "(-?[0-9]+) \u2192 (-?[0-9]+) \\(an earlier file holds -?[0-9]+\\)");
    std::vector<std::pair<std::string, int>> out;
    std::istringstream lines(err);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(text, match, line)) << text;
        if (!match.empty()) {
            out.emplace_back(fs::path(match[1].str()).filename().string(), std::stoi(match[3]));
        }
    }
    return out;
}

TEST(FwpolicyMerge, GeneratedPoliciesWithCollidingObjectIdsKeepEveryRuleItsObjects) {
    const TempDir dir;
    // The same object identifiers in all three; the third has the objects
    // of the first (same seed) with rules of its own.
    // Each rule has a destination of its own, so that no rule can shadow
    // another and the lint of the result has no error to report.
    const std::vector<fs::path> files = {
        GeneratedPolicy(dir.path(), "a.xml", "--rules 200 --objects 40 --seed 1 " + kDistinct),
        GeneratedPolicy(dir.path(), "b.xml",
                        "--rules 200 --objects 40 --seed 2 --rule-id-offset 10000 " + kDistinct),
        GeneratedPolicy(dir.path(), "c.xml",
                        "--rules 200 --objects 40 --seed 1 --rules-seed 3 --rule-id-offset 20000 " +
                            kDistinct)};
    const fs::path merged = dir.path() / "merged.xml";
    const ToolResult merge = RunFwpolicy(
        {"merge", files[0].string(), files[1].string(), files[2].string(), "-o", merged.string()});
    ASSERT_EQ(0, merge.exitStatus) << merge.err;

    // The first file keeps its objects and the third's are the first's, so
    // the second's are those renumbered: each whose Id the first holds.
    const std::vector<std::pair<std::string, int>> renumbered = RenumberedObjects(merge.err);
    const std::set<int> firstIds = PolicyView(ReadBytes(files[0])).ObjectIds();
    std::size_t colliding = 0;
    for (const int id : PolicyView(ReadBytes(files[1])).ObjectIds()) {
        colliding += firstIds.count(id);
    }
    EXPECT_EQ(colliding, renumbered.size()) << merge.err;
    for (const auto& [file, id] : renumbered) {
        EXPECT_EQ("b.xml", file);
        EXPECT_EQ(1u, firstIds.count(id));
    }

    const PolicyView result(ReadBytes(merged));
    ASSERT_TRUE(result.ObjectIdsAreUniquePerKind()) << "a reference must name one object";
    std::size_t rules = 0;
    std::size_t references = 0;
    for (const fs::path& file : files) {
        const PolicyView source(ReadBytes(file));
        ASSERT_TRUE(source.ObjectIdsAreUniquePerKind());
        EXPECT_GT(result.ObjectCount(), source.ObjectCount());
        for (const auto& [name, text] : source.Rules()) {
            ++rules;
            auto merged = result.Rules().find(name);
            ASSERT_NE(result.Rules().end(), merged) << file << ": rule left out";
            const References before = ReferencesIn(text);
            const References after = ReferencesIn(merged->second);
            ASSERT_EQ(before.size(), after.size());
            for (std::size_t i = 0; i < before.size(); ++i) {
                ++references;
                ASSERT_EQ(source.Meaning(before[i].first, before[i].second),
                          result.Meaning(after[i].first, after[i].second))
                    << file << ": reference " << i << " of a rule";
            }
        }
    }
    EXPECT_EQ(rules, result.Rules().size());
    EXPECT_GT(references, 200u);
    EXPECT_LT(result.ObjectCount(), 120u) << "the third file's objects are those of the first";

    const ToolResult lint = RunFwpolicy({"lint", "--json", merged.string()});
    const nlohmann::json report = nlohmann::json::parse(lint.out);
    for (const auto& finding : report.at("findings")) {
        EXPECT_NE("error", finding.at("severity")) << finding.dump();
    }
    EXPECT_EQ(0, lint.exitStatus) << lint.err;
}

}  // namespace
}  // namespace fwcommon::test
