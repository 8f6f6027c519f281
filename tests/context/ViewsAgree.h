#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/RuleType.h>
#include "store/StoreTestSupport.h"

namespace fwcommon::test {

// Kind, identifier and creation type: what tells named objects apart.
using ObjectIdentity = std::tuple<int, std::uint32_t, int>;

inline ObjectIdentity IdentityOf(const INamedObject& object) {
    return {object.GetNamedObjectType(), object.GetIdentifier(), object.GetCreationType()};
}

// Whether two entries of named-object lists stand for the same member: the
// same named object by identity, else equal items.
inline bool SameEntry(const std::shared_ptr<INamedItem>& kept,
                      const std::shared_ptr<INamedItem>& read) {
    const auto* keptObject = dynamic_cast<const INamedObject*>(kept.get());
    const auto* readObject = dynamic_cast<const INamedObject*>(read.get());
    if (keptObject || readObject) {
        return keptObject && readObject && IdentityOf(*keptObject) == IdentityOf(*readObject);
    }
    return kept->IsEqual(read);
}

inline void ExpectSameEntries(const NamedItemList& kept, const NamedItemList& read) {
    ASSERT_EQ(kept.size(), read.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_TRUE(SameEntry(kept[i], read[i])) << "entry " << i;
    }
}

// The named objects that the references of a written document name, by
// kind name ("Ip", "Service", ...) and Id.
inline std::set<std::pair<std::string, std::uint32_t>> ReferencedObjects(const std::string& xml) {
    static const std::regex reference(R"(sv:(\w+)ObjectRef"\s*>\s*<Id>(\d+)</Id>)");
    std::set<std::pair<std::string, std::uint32_t>> found;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), reference);
         it != std::sregex_iterator(); ++it) {
        found.emplace((*it)[1].str(), static_cast<std::uint32_t>(std::stoul((*it)[2].str())));
    }
    return found;
}

// The kind as the references of a document name it.
inline std::string KindName(NamedObjectType type) {
    static const char* const kNames[] = {"Interface", "Ip", "Service", "Schedule", "Vpn"};
    return type >= eInterfaceObject && type <= eSarvoGroupObject ? kNames[type] : "?";
}

// Checks that the three views of a document's named objects agree: the
// Context's records, its store's list (the very same objects) and what a
// fresh store reads from the written bytes (same identities, names and
// members); and that every reference the written document holds names an
// object it holds.
inline void ExpectViewsAgree(Context& context, const std::wstring& dataname,
                             CreationType creationType) {
    const auto records = context.GetNamedObjects(dataname);
    const auto reader = context.GetXmlReader(dataname);
    ASSERT_TRUE(reader);
    const NamedObjectList listed = reader->GetNamedObjects();
    ASSERT_EQ(records->size(), listed.size());
    for (const auto& object : *records) {
        EXPECT_NE(listed.end(), std::find(listed.begin(), listed.end(), object))
            << "record not in the store's list: " << object->GetIdentifier();
    }

    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    const auto written = MakeReader(bytes, creationType)->GetNamedObjects();
    ASSERT_EQ(records->size(), written.size());
    std::set<std::pair<std::string, std::uint32_t>> held;
    for (const auto& object : written) {
        held.emplace(KindName(object->GetNamedObjectType()), object->GetIdentifier());
    }
    for (const auto& object : *records) {
        const INamedObject& kept = *object;
        const auto read = std::find_if(written.begin(), written.end(), [&](const auto& other) {
            return IdentityOf(*other) == IdentityOf(kept);
        });
        ASSERT_NE(written.end(), read) << "not written: " << kept.GetIdentifier();
        const INamedObject& readObject = **read;
        EXPECT_EQ(kept.GetName(), readObject.GetName());
        ExpectSameEntries(*kept.GetInclusions(), *readObject.GetInclusions());
        ExpectSameEntries(*kept.GetExclusions(), *readObject.GetExclusions());
    }
    for (const auto& reference : ReferencedObjects(ToString(bytes))) {
        EXPECT_TRUE(held.count(reference))
            << "dangling reference to " << reference.first << " " << reference.second;
    }
}

// What tells a rule and its place apart: identifier, creation type, name
// and order id.
using RuleView = std::tuple<std::uint32_t, int, std::wstring, long long>;

inline std::vector<RuleView> RuleViews(const RuleList& rules) {
    std::vector<RuleView> views;
    for (const auto& rule : rules) {
        views.emplace_back(rule->GetIdentifier(), rule->GetCreationType(), rule->GetName(),
                           rule->GetXmlRule()->OrderId());
    }
    return views;
}

// Checks that the store's rule lists and what a fresh store reads from
// the written bytes hold the same rules in the same order, and that the
// store finds each rule it lists under its identifier and creation type.
inline void ExpectRulesAgree(Context& context, const std::wstring& dataname,
                             CreationType creationType) {
    const auto reader = context.GetXmlReader(dataname);
    ASSERT_TRUE(reader);
    std::vector<unsigned char> bytes;
    context.GetXmlData(dataname, bytes);
    const auto reread = MakeReader(bytes, creationType);
    std::size_t listed = 0;
    for (RuleType type : {eVPNRules, eNATRules, eTunnelRules, eLocalRules, eTransitRules}) {
        const auto rules = reader->GetRules(type);
        listed += rules->size();
        EXPECT_EQ(RuleViews(*rules), RuleViews(*reread->GetRules(type))) << "section " << type;
        for (const auto& rule : *rules) {
            EXPECT_EQ(rule, reader->GetRuleById(Context::GetDomainObject(rule)))
                << "rule " << rule->GetIdentifier() << " is not found under its identifier";
        }
    }
    EXPECT_EQ(listed, ParsePolicyDocument(bytes)->Rules().Rule().size());
}

}  // namespace fwcommon::test
