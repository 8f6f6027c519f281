#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace fwcommon::lint {

// Interned opaque value (a domain name, an interface name, a system object,
// a VPN node...): only an identical value covers it.
using Token = std::uint32_t;

// A set of one matching dimension: an exact part of the dimension's kind E
// and opaque values, kept sorted and unique. A region whose exact part is
// full covers every opaque value too.
//
// E offers IsEmpty, IsFull, IsSubsetOf (true only when proved), UnionWith,
// MinusUpper (a superset of the difference) and MinusLower (a subset).
template <typename E>
struct Region {
    E exact;
    std::vector<Token> tokens;
    // What exclusions are known to have taken out of the opaque values:
    // the region holds exact and, of tokens, at most what lies outside
    // tokenCut. Kept empty when there are no tokens.
    E tokenCut;
    // Opaque values that exclusions are known to hold (an interface or a
    // VPN node excluded by name): none of the region's other opaque values
    // holds them. Sorted; kept empty when there are no tokens.
    std::vector<Token> cutTokens;

    bool IsEmpty() const { return exact.IsEmpty() && tokens.empty(); }
    bool IsFull() const { return exact.IsFull(); }

    // True when this region is proved to hold all of inner.
    bool Covers(const Region& inner) const {
        if (IsFull()) {
            return true;
        }
        return inner.exact.IsSubsetOf(exact) &&
               std::includes(tokens.begin(), tokens.end(), inner.tokens.begin(),
                             inner.tokens.end());
    }

    void UnionWith(const Region& other) {
        exact.UnionWith(other.exact);
        if (tokens.empty()) {
            tokenCut = other.tokenCut;
            cutTokens = other.cutTokens;
        } else if (!other.tokens.empty()) {
            // Only what both cuts take out is known to be out of the merged
            // tokens; the intersection is taken from below.
            tokenCut = tokenCut.MinusLower(E::Full().MinusUpper(other.tokenCut));
            std::vector<Token> both;
            std::set_intersection(cutTokens.begin(), cutTokens.end(), other.cutTokens.begin(),
                                  other.cutTokens.end(), std::back_inserter(both));
            cutTokens.swap(both);
        }
        std::vector<Token> merged;
        std::set_union(tokens.begin(), tokens.end(), other.tokens.begin(), other.tokens.end(),
                       std::back_inserter(merged));
        tokens.swap(merged);
    }

    void AddToken(Token token) {
        auto at = std::lower_bound(tokens.begin(), tokens.end(), token);
        if (at == tokens.end() || *at != token) {
            tokens.insert(at, token);
        }
    }
};

// What a condition is known to match: at least lower, at most upper.
// Coverage is proved when the covering set's lower holds the covered set's
// upper; emptiness when upper is empty.
template <typename E>
struct Bounds {
    Region<E> lower;
    Region<E> upper;

    static Bounds Exactly(const Region<E>& region) { return Bounds{region, region}; }
    static Bounds Empty() { return Bounds{}; }
    static Bounds Full() {
        Bounds b;
        b.lower.exact = E::Full();
        b.upper.exact = E::Full();
        return b;
    }
    // Nothing is known: it may match nothing or everything.
    static Bounds Unknown() {
        Bounds b;
        b.upper.exact = E::Full();
        return b;
    }
    static Bounds OfToken(Token token) {
        Bounds b;
        b.lower.tokens.push_back(token);
        b.upper.tokens.push_back(token);
        return b;
    }
    static Bounds OfExact(const E& exact) {
        Bounds b;
        b.lower.exact = exact;
        b.upper.exact = exact;
        return b;
    }

    void UnionWith(const Bounds& other) {
        lower.UnionWith(other.lower);
        upper.UnionWith(other.upper);
    }

    // The set with everything of excluded taken out.
    Bounds Minus(const Bounds& excluded) const {
        Bounds result;
        result.upper = UpperMinus(upper, excluded.lower);
        result.lower = LowerMinus(lower, excluded.upper);
        return result;
    }

private:
    static Region<E> UpperMinus(const Region<E>& from, const Region<E>& cut) {
        Region<E> result;
        if (cut.IsFull()) {
            return result;
        }
        result.exact = from.exact.MinusUpper(cut.exact);
        std::set_difference(from.tokens.begin(), from.tokens.end(), cut.tokens.begin(),
                            cut.tokens.end(), std::back_inserter(result.tokens));
        if (!result.tokens.empty()) {
            result.tokenCut = from.tokenCut;
            result.tokenCut.UnionWith(cut.exact);
            std::set_union(from.cutTokens.begin(), from.cutTokens.end(), cut.tokens.begin(),
                           cut.tokens.end(), std::back_inserter(result.cutTokens));
            if (result.tokenCut.IsFull()) {
                result.tokens.clear();
                result.tokenCut = E{};
                result.cutTokens.clear();
            }
        }
        return result;
    }

    // An opaque value may overlap anything, so once the cut may hold
    // anything opaque, or the set holds opaque values and the cut is not
    // empty, nothing certain remains of that part.
    static Region<E> LowerMinus(const Region<E>& from, const Region<E>& cut) {
        if (cut.IsEmpty()) {
            return from;
        }
        Region<E> result;
        if (cut.tokens.empty()) {
            result.exact = from.exact.MinusLower(cut.exact);
        }
        return result;
    }
};

// The exact part of a dimension that has only opaque values (VPN hosts):
// either everything or nothing.
struct NoExact {
    bool full = false;

    static NoExact Full() { return NoExact{true}; }
    bool IsEmpty() const { return !full; }
    bool IsFull() const { return full; }
    bool IsSubsetOf(const NoExact& other) const { return !full || other.full; }
    void UnionWith(const NoExact& other) { full = full || other.full; }
    NoExact MinusUpper(const NoExact& cut) const { return NoExact{full && !cut.full}; }
    NoExact MinusLower(const NoExact& cut) const { return NoExact{full && !cut.full}; }
};

}  // namespace fwcommon::lint
