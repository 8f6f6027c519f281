#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <fwcommon/rules.hxx>
#include "lint/LintAddressSet.h"
#include "lint/LintCatalog.h"
#include "lint/LintRegion.h"
#include "lint/LintScheduleSet.h"
#include "lint/LintServiceSet.h"

namespace fwcommon::lint {

using HostBounds = Bounds<AddressSet>;
using InterfaceBounds = Bounds<InterfaceAddressSet>;
using VpnBounds = Bounds<NoExact>;
using ServiceBounds = Bounds<ServiceSet>;
using ScheduleBounds = Bounds<ScheduleSet>;

// The kinds of condition, which system objects of one name share tokens
// across.
enum class ConditionFamily { eHost, eInterface, eVpnHost, eService, eSchedule };
constexpr std::size_t kConditionFamilies = 5;

// Numbers opaque values; equal texts get equal tokens. Remembers, per kind
// of condition, the first condition that named each value. One thread at a
// time.
class Interner {
public:
    Token Intern(const std::wstring& text, ConditionFamily family,
                 const Sarvo::AbstractCondition& source);
    // The token of a text interned before, or nothing.
    std::optional<Token> Find(const std::wstring& text) const;
    // The text of a token this interner gave.
    const std::wstring& Text(Token token) const { return *texts_[token]; }
    // The first condition of the family that named the token, or null.
    const Sarvo::AbstractCondition* Source(Token token, ConditionFamily family) const {
        return sources_[token][static_cast<std::size_t>(family)];
    }

private:
    std::unordered_map<std::wstring, Token> tokens_;
    std::vector<const std::wstring*> texts_;  // keys of tokens_, by token
    std::vector<std::array<const Sarvo::AbstractCondition*, kConditionFamilies>> sources_;
};

// Receives the finding code and text of a primitive that matches nothing
// or holds a value no packet can have ("port range 90-80 ends below its
// start", "port 70000 is outside 0 to 65535"). May be null where nothing
// is reported.
using ValueSink = std::function<void(const char* code, const std::wstring& message)>;

// Turns conditions into the sets they match, resolving named objects
// through the catalog. Objects are resolved once and remembered; a
// reference that names no object, an ambiguous one, one that reaches back
// into an object being resolved or one nested more than 200 objects deep
// is taken as unknown. One thread at a
// time; the catalog and interner outlive it.
class ConditionEvaluator {
public:
    ConditionEvaluator(const ObjectCatalog& catalog, Interner& interner);

    HostBounds Host(const Sarvo::IpHostCondition& c, const ValueSink* sink);
    InterfaceBounds Interface(const Sarvo::InterfaceCondition& c, const ValueSink* sink);
    VpnBounds Vpn(const Sarvo::VpnHostCondition& c, const ValueSink* sink);
    ServiceBounds Service(const Sarvo::ServiceCondition& c, const ValueSink* sink);
    ScheduleBounds Schedule(const Sarvo::ScheduleCondition& c, const ValueSink* sink);
    // The condition at one moment (an absolute second): full when it is
    // known to hold it, empty when known not to, else what Schedule gives.
    // Where the sets of Schedule do not decide the moment (a weekly
    // window less a calendar span), the object's members are asked at
    // that moment; the answer never contradicts Schedule's.
    ScheduleBounds ScheduleAt(const Sarvo::ScheduleCondition& c, std::uint64_t second);

    // Checks the object's own entries, reporting their empty primitives.
    void CheckObject(const ObjectEntry& entry, const ValueSink& sink);

private:
    template <typename E>
    struct Memo {
        std::unordered_map<std::int32_t, Bounds<E>> done;
        std::unordered_set<std::int32_t> active;
    };

    template <typename E, typename Object, typename Evaluate>
    Bounds<E> Resolve(Memo<E>& memo, NamedObjectType type, std::int32_t id, Evaluate evaluate);

    Token SystemToken(const std::wstring& name, ConditionFamily family,
                      const Sarvo::AbstractCondition& source);
    HostBounds IpPrimitive(const Sarvo::IpHostCondition& c, const ValueSink* sink);

    const ObjectCatalog& catalog_;
    Interner& interner_;
    Memo<AddressSet> hosts_;
    Memo<InterfaceAddressSet> interfaces_;
    Memo<NoExact> vpns_;
    Memo<ServiceSet> services_;
    Memo<ScheduleSet> schedules_;
    // The objects' answers at one moment: full, empty or undecided.
    std::uint64_t momentSecond_ = 0;
    std::unordered_map<std::int32_t, ScheduleBounds> moments_;
    std::unordered_set<std::int32_t> momentActive_;
};

// Reports the values of a NAT rule's translation that no packet can carry:
// an address that does not parse, a port outside 0 to 65535.
void CheckTranslation(const Sarvo::Translation& translation, const ValueSink& sink);

// Inclusions less exclusions of one object, each entry through evaluate.
template <typename E, typename Object, typename Evaluate>
Bounds<E> ObjectContent(const Object& object, Evaluate evaluate) {
    Bounds<E> included;
    for (const auto& entry : object.Inclusion()) {
        included.UnionWith(evaluate(entry));
    }
    Bounds<E> excluded;
    for (const auto& entry : object.Exclusion()) {
        excluded.UnionWith(evaluate(entry));
    }
    return included.Minus(excluded);
}

}  // namespace fwcommon::lint
