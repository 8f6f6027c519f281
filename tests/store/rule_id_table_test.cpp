#include <algorithm>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "store/RuleIdTable.h"
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

using Key = std::pair<RuleType, std::int64_t>;  // section and order id
using Model = std::map<Key, std::shared_ptr<IRule>>;

// Twelve loaded rules: identifiers 1..6, each once as User and once as
// Generated, so that look-ups by identifier meet several entries.
std::vector<std::shared_ptr<IRule>> SampleRules() {
    std::string rules;
    for (int id = 1; id <= 6; ++id) {
        rules += RuleXml("LocalRule", id, id, "user" + std::to_string(id), "User");
        rules += RuleXml("LocalRule", id, 100 + id, "generated" + std::to_string(id), "Generated");
    }
    auto reader = MakeReader(PolicyXml(rules));
    const auto loaded = reader->GetRules(eLocalRules);
    return {loaded->begin(), loaded->end()};
}

int Rank(RuleType section) {
    const RuleType order[] = {eLocalRules, eVPNRules, eTransitRules, eNATRules, eTunnelRules};
    return static_cast<int>(std::find(std::begin(order), std::end(order), section) - order);
}

std::shared_ptr<IRule> ExpectedFind(const Model& model, std::uint32_t id, CreationType type) {
    const Model::value_type* best = nullptr;
    for (const auto& entry : model) {
        if (entry.second->GetIdentifier() != id || entry.second->GetCreationType() != type) {
            continue;
        }
        if (!best || std::make_pair(Rank(entry.first.first), entry.first.second) <
                         std::make_pair(Rank(best->first.first), best->first.second)) {
            best = &entry;
        }
    }
    return best ? best->second : nullptr;
}

void ExpectSameContent(const RuleIdTable& table, const Model& model, int step) {
    ASSERT_EQ(table.Size(), model.size()) << "after step " << step;
    for (std::uint32_t id = 1; id <= 6; ++id) {
        std::vector<std::tuple<RuleType, std::int64_t, IRule*>> seen, expected;
        table.ForEach(id, [&](const RuleIdTable::Entry& entry) {
            seen.emplace_back(entry.section, entry.orderId, entry.rule.get());
        });
        for (const auto& [key, rule] : model) {
            if (rule->GetIdentifier() == id) {
                expected.emplace_back(key.first, key.second, rule.get());
            }
        }
        std::sort(seen.begin(), seen.end());
        ASSERT_EQ(seen, expected) << "identifier " << id << " after step " << step;
        for (CreationType type : {User, Generated}) {
            ASSERT_EQ(table.Find(id, type), ExpectedFind(model, id, type))
                << "identifier " << id << " type " << type << " after step " << step;
        }
    }
}

// Random adds and removes against a plain map: the table must hand out
// exactly the model's entries through growth, collisions and the moves
// that removal makes inside a probe run.
TEST(RuleIdTable, MatchesAPlainMapThroughAddsAndRemoves) {
    const auto rules = SampleRules();
    ASSERT_EQ(rules.size(), 12u);
    const RuleType sections[] = {eVPNRules, eNATRules, eTunnelRules, eLocalRules, eTransitRules};
    std::mt19937 random(20261206);
    RuleIdTable table;
    Model model;
    for (int step = 0; step < 3000; ++step) {
        const bool add = model.empty() || random() % 100 < (step < 1500 ? 70 : 35);
        if (add) {
            const Key key{sections[random() % 5], static_cast<std::int64_t>(random() % 60)};
            if (model.count(key)) {
                continue;
            }
            const auto& rule = rules[random() % rules.size()];
            model.emplace(key, rule);
            table.Add(key.first, key.second, rule);
        } else {
            auto victim = std::next(model.begin(), static_cast<long>(random() % model.size()));
            table.Remove(victim->second->GetIdentifier(), victim->first.first,
                         victim->first.second);
            model.erase(victim);
        }
        ExpectSameContent(table, model, step);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(RuleIdTable, RemovingAnAbsentEntryChangesNothing) {
    const auto rules = SampleRules();
    RuleIdTable table;
    table.Remove(1, eLocalRules, 1);
    table.Add(eLocalRules, 7, rules[0]);
    table.Remove(rules[0]->GetIdentifier(), eLocalRules, 8);
    table.Remove(rules[0]->GetIdentifier(), eVPNRules, 7);
    EXPECT_EQ(table.Size(), 1u);
    EXPECT_EQ(table.Find(rules[0]->GetIdentifier(), rules[0]->GetCreationType()), rules[0]);
    table.Clear();
    EXPECT_EQ(table.Find(rules[0]->GetIdentifier(), rules[0]->GetCreationType()), nullptr);
}

}  // namespace
}  // namespace fwcommon::test
