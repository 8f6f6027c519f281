#include "verbs/MergeRenumberings.h"

#include <map>
#include <optional>
#include <regex>
#include <unordered_map>
#include <unordered_set>

#include <fwcommon/LogFacility.h>

namespace fwpolicy {
namespace {

// How many rules of each creation type carry each identifier.
using IdCounts = std::unordered_map<RuleIdentifierKey, std::size_t, RuleIdentifierKeyHash>;

// One source's rule identifiers as the context's index holds them after
// correcting some.
IdCounts IdsOf(const MergeSource& source) {
    IdCounts indexed;
    indexed.reserve(source.rules.size());
    for (const FileRule& rule : source.rules) {
        ++indexed[{rule.creationType, rule.id}];
    }
    for (const IdentifierChange& change : source.changesOnLoad) {
        const FileRule& rule = source.rules[change.index];
        --indexed[{rule.creationType, rule.id}];
        ++indexed[{rule.creationType, change.to}];
    }
    return indexed;
}

std::size_t Holding(const IdCounts& counts, fwcommon::CreationType creationType, long long id) {
    const auto found = counts.find({creationType, id});
    return found == counts.end() ? 0 : found->second;
}

// Whether a file registered before the source at index holds the
// identifier id of the creation type: what its index holds, corrected
// identifiers included.
bool EarlierFileHolds(const std::vector<IdCounts>& ids, std::size_t index,
                      fwcommon::CreationType creationType, long long id) {
    for (std::size_t earlier = 0; earlier < index; ++earlier) {
        if (Holding(ids[earlier], creationType, id) > 0) {
            return true;
        }
    }
    return false;
}

// The rules of one source whose identifier the context's index holds
// differently from the file, with why the library could not keep it.
// ids holds the identifiers of the sources before it.
std::vector<Renumbering> CorrectedRules(const std::vector<MergeSource>& sources,
                                        const std::vector<IdCounts>& ids, std::size_t index) {
    const MergeSource& source = sources[index];
    const std::vector<IdentifierChange>& changes = source.changesOnLoad;
    const std::vector<std::string> inFile = WhyRenumberedInFile(source.rules, changes);
    std::vector<Renumbering> out;
    for (std::size_t i = 0; i < inFile.size(); ++i) {
        const IdentifierChange& change = changes[i];
        const FileRule& rule = source.rules[change.index];
        Renumbering r;
        r.dataname = source.dataname;
        r.what = rule.section + " rule";
        r.name = rule.name;
        r.from = rule.id;
        r.to = change.to;
        r.why = EarlierFileHolds(ids, index, rule.creationType, rule.id)
                    ? "an earlier file holds " + std::to_string(rule.id)
                    : inFile[i];
        out.push_back(std::move(r));
    }
    return out;
}

// What a note calls an object of a kind it cannot find.
constexpr const char* kUnknownKind = "named object";

// The first object and the first rule of one source by identifier and
// name, for the notes on what the merge itself renumbered: each names the
// object's kind or the rule's section, and a file may have thousands.
class SourceIndex {
public:
    explicit SourceIndex(const MergeSource& source) {
        for (const MergeSource::Object& object : source.objects)
            objects_.emplace(Key{object.id, object.name}, object.kind + " object");
        for (const FileRule& rule : source.rules)
            rules_.emplace(Key{rule.id, rule.name},
                           rule.section.empty() ? "rule" : rule.section + " rule");
    }

    std::string ObjectKind(long long id, const std::wstring& name) const {
        return Find(objects_, id, name, kUnknownKind);
    }

    // The section word of the rule of that identifier and name.
    std::string RuleSection(long long id, const std::wstring& name) const {
        return Find(rules_, id, name, "rule");
    }

private:
    using Key = std::pair<long long, std::wstring>;
    using Words = std::map<Key, std::string>;

    static std::string Find(const Words& words, long long id, const std::wstring& name,
                            const char* otherwise) {
        const auto found = words.find(Key{id, name});
        return found == words.end() ? otherwise : found->second;
    }

    Words objects_;
    Words rules_;
};

// One source's renumberings: its objects', then its rules'.
struct SourceRenumberings {
    std::vector<Renumbering> objects;
    std::vector<Renumbering> rules;
};

// The object Ids that the sources before one brought into the merge, to
// tell why the merge renumbered an object: a file before it holds the Id
// (as the file gives it, or as the merge renumbered one of its objects), or
// another object of its own file does (the merge keeps one object per Id,
// whatever its kind and creation type).
class EarlierObjectIds {
public:
    explicit EarlierObjectIds(const std::vector<MergeSource>& sources) : sources_(sources) {}

    // `found` holds each source's renumberings as far as the merge log has
    // named them; those of the sources before `source` are complete.
    bool Hold(std::size_t source, long long id, const std::vector<SourceRenumberings>& found) {
        if (source < upTo_) {
            held_.clear();
            upTo_ = 0;
        }
        for (; upTo_ < source; ++upTo_) {
            for (const MergeSource::Object& object : sources_[upTo_].objects)
                held_.insert(object.id);
            for (const Renumbering& renumbered : found[upTo_].objects)
                held_.insert(renumbered.to);
        }
        return held_.count(id) > 0;
    }

private:
    const std::vector<MergeSource>& sources_;
    std::unordered_set<long long> held_;
    std::size_t upTo_ = 0;  // held_ holds the Ids of the sources before it
};

}  // namespace

MergeSource SourceOf(const std::wstring& dataname, const Sarvo::PolicyType& document) {
    MergeSource source;
    source.dataname = dataname;
    source.rules = RulesOf(document);
    if (!document.NamedObjects()) {
        return source;
    }
    const Sarvo::NamedObjects& objects = *document.NamedObjects();
    const auto enter = [&source](const auto& sequence, const char* kind) {
        for (const auto& object : sequence) {
            source.objects.push_back(MergeSource::Object{object.Id(), object.Name(), kind});
        }
    };
    enter(objects.IpObject(), "ip");
    enter(objects.InterfaceObject(), "interface");
    enter(objects.VpnObject(), "vpn");
    enter(objects.ServiceObject(), "service");
    enter(objects.ScheduleObject(), "schedule");
    return source;
}

void NoteChangesOnLoad(MergeSource& source, fwcommon::Context& context) {
    std::optional<std::vector<IdentifierChange>> changes =
        IndexedIdentifierChanges(source.rules, context, source.dataname);
    if (changes) {
        source.changesOnLoad = std::move(*changes);
        return;
    }
    // A section holds two rules of one order id: only the whole document
    // tells which identifiers its rules have now.
    std::vector<unsigned char> written;
    context.GetXmlData(source.dataname, written);
    source.changesOnLoad = IdentifierChangesOnLoad(source.rules, written);
}

MergeLogCapture::MergeLogCapture()
    : sink_(fwcommon::kLogRoutine), previous_(fwcommon::GetLibLogFacility().AttachSink(&sink_)) {}

MergeLogCapture::~MergeLogCapture() {
    fwcommon::GetLibLogFacility().AttachSink(previous_);
}

std::vector<Renumbering> RenumberingsOf(const std::vector<std::wstring>& lines,
                                        const std::vector<MergeSource>& sources) {
    static const std::wregex document(L"'GetRSOP': merging '(.*)'$");
    static const std::wregex renumbered(
        L"'GetRSOP': (named object|rule) '(.*)' renumbered from (-?[0-9]+) to (-?[0-9]+)$");
    std::vector<SourceRenumberings> found(sources.size());
    // The identifiers of a file are asked only for the notes of a later
    // file whose load corrected some: files that share none need none.
    std::vector<IdCounts> ids;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (sources[i].changesOnLoad.empty())
            continue;
        while (ids.size() < i)
            ids.push_back(IdsOf(sources[ids.size()]));
        found[i].rules = CorrectedRules(sources, ids, i);
    }
    // Made for a file when the merge log first names one of its rules or
    // objects: a file whose rules the load already corrected has none.
    std::vector<std::optional<SourceIndex>> indexes(sources.size());
    const auto indexOf = [&](std::size_t i) -> const SourceIndex& {
        if (!indexes[i])
            indexes[i].emplace(sources[i]);
        return *indexes[i];
    };
    EarlierObjectIds earlierIds(sources);
    std::size_t current = sources.size();
    std::wsmatch match;
    for (const std::wstring& line : lines) {
        // Most lines are about order ids; only these two kinds matter here.
        if (line.find(L"' renumbered from ") == std::wstring::npos &&
            line.find(L"'GetRSOP': merging '") == std::wstring::npos) {
            continue;
        }
        if (std::regex_search(line, match, document)) {
            current = sources.size();
            for (std::size_t i = 0; i < sources.size(); ++i) {
                if (sources[i].dataname == match[1].str()) {
                    current = i;
                }
            }
        } else if (current < sources.size() && std::regex_search(line, match, renumbered)) {
            Renumbering r;
            r.dataname = sources[current].dataname;
            r.name = match[2];
            r.from = std::stoll(match[3]);
            r.to = std::stoll(match[4]);
            r.why = "an earlier file holds " + std::to_string(r.from);
            if (match[1] == L"rule") {
                r.what = indexOf(current).RuleSection(r.from, r.name);
                found[current].rules.push_back(std::move(r));
            } else {
                r.what = indexOf(current).ObjectKind(r.from, r.name);
                if (r.what != kUnknownKind && !earlierIds.Hold(current, r.from, found))
                    r.why = "another object of the file holds " + std::to_string(r.from);
                found[current].objects.push_back(std::move(r));
            }
        }
    }
    std::vector<Renumbering> out;
    for (SourceRenumberings& source : found) {
        out.insert(out.end(), source.objects.begin(), source.objects.end());
        out.insert(out.end(), source.rules.begin(), source.rules.end());
    }
    return out;
}

}  // namespace fwpolicy
