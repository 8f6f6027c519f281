#include <unordered_map>

#include "support/CharacterSet.h"

#include "lint/LintPass.h"

namespace fwcommon::lint {
namespace {

void CheckDuplicateIds(const std::vector<ObjectEntry>& own, const std::vector<ObjectEntry>& others,
                       FindingList& findings) {
    std::unordered_map<std::int32_t, const ObjectEntry*> firstById;
    for (const ObjectEntry& other : others) {
        firstById.emplace(other.element->Id(), &other);
    }
    for (std::size_t i = 0; i < own.size(); ++i) {
        const auto [at, inserted] = firstById.emplace(own[i].element->Id(), &own[i]);
        if (!inserted) {
            findings.OnObject(own[i], i, LintSeverity::eError, LintCode::kDuplicateObjectId,
                              L"Id " + std::to_wstring(own[i].element->Id()) +
                                  L" is also held by " + DescribeObject(*at->second));
        }
    }
}

// Reference cycles among the document's own objects, found by a
// depth-first walk without recursion; each cycle is reported once, on the
// object where the walk closed it.
class CycleFinder {
public:
    CycleFinder(const std::vector<ObjectEntry>& own, const ObjectCatalog& catalog,
                FindingList& findings)
        : own_(own),
          findings_(findings),
          edges_(own.size()),
          state_(own.size(), kNew),
          reported_(own.size(), false) {
        std::unordered_map<const Sarvo::NamedObject*, std::size_t> indexOf;
        for (std::size_t i = 0; i < own.size(); ++i) {
            indexOf.emplace(own[i].element, i);
        }
        for (std::size_t i = 0; i < own.size(); ++i) {
            for (const Reference& ref : ReferencesOfObject(*own[i].element).objects) {
                const ObjectEntry* target = catalog.Find(ref.type, ref.id);
                const auto found = target ? indexOf.find(target->element) : indexOf.end();
                if (found != indexOf.end()) {
                    edges_[i].push_back(found->second);
                }
            }
        }
    }

    void Run() {
        for (std::size_t start = 0; start < own_.size(); ++start) {
            if (state_[start] == kNew) {
                Walk(start);
            }
        }
    }

private:
    enum State { kNew, kOnPath, kDone };

    void Walk(std::size_t start) {
        std::vector<std::pair<std::size_t, std::size_t>> path{{start, 0}};
        state_[start] = kOnPath;
        while (!path.empty()) {
            auto& [node, next] = path.back();
            if (next == edges_[node].size()) {
                state_[node] = kDone;
                path.pop_back();
                continue;
            }
            const std::size_t target = edges_[node][next++];
            if (state_[target] == kOnPath) {
                ReportCycle(path, target);
            } else if (state_[target] == kNew) {
                state_[target] = kOnPath;
                path.emplace_back(target, 0);
            }
        }
    }

    void ReportCycle(const std::vector<std::pair<std::size_t, std::size_t>>& path,
                     std::size_t target) {
        std::size_t from = path.size();
        while (path[from - 1].first != target) {
            --from;
        }
        --from;
        for (std::size_t i = from; i < path.size(); ++i) {
            if (reported_[path[i].first]) {
                return;
            }
        }
        std::wstring text = L"contains itself: ";
        for (std::size_t i = from; i < path.size(); ++i) {
            reported_[path[i].first] = true;
            text += DescribeObject(own_[path[i].first]) + L" -> ";
        }
        text += DescribeObject(own_[target]);
        findings_.OnObject(own_[target], target, LintSeverity::eError, LintCode::kReferenceCycle,
                           text);
    }

    const std::vector<ObjectEntry>& own_;
    FindingList& findings_;
    std::vector<std::vector<std::size_t>> edges_;
    std::vector<State> state_;
    std::vector<bool> reported_;
};

}  // namespace

std::wstring DescribeObject(const ObjectEntry& object) {
    return std::wstring(ObjectKindName(object.type)) + L" \"" + object.element->Name() +
           L"\" (Id " + std::to_wstring(object.element->Id()) + L")";
}

void CheckObjects(const std::vector<ObjectEntry>& own, const std::vector<ObjectEntry>& others,
                  LintPass& pass) {
    CheckDuplicateIds(own, others, pass.findings);
    for (std::size_t i = 0; i < own.size(); ++i) {
        const auto report = [&](const char* code, std::wstring message) {
            pass.findings.OnObject(own[i], i, LintSeverity::eError, code, std::move(message));
        };
        CheckReferences(ReferencesOfObject(*own[i].element), pass, report);
        pass.evaluator.CheckObject(
            own[i], [&](const char* code, const std::wstring& message) { report(code, message); });
    }
    CycleFinder(own, pass.catalog, pass.findings).Run();
}

std::wstring SourceText(const std::string& source) {
    std::wstring text(source.size(), L'\0');
    const auto length =
        platform::NarrowToWide("UTF-8", source.data(), source.size(), text.data(), text.size());
    if (!length) {
        return std::wstring(source.begin(), source.end());
    }
    text.resize(*length);
    return text;
}

void EarlierObjectIds::CheckAndAdd(const std::vector<ObjectEntry>& own,
                                   const Sarvo::PolicyType& policy, const std::string& source,
                                   FindingList& findings) {
    const std::wstring sourceText = SourceText(source);
    const ObjectIndex& objects = policy.NamedObjects()
                                     ? indexes_.emplace_back(*policy.NamedObjects())
                                     : indexes_.emplace_back();
    for (std::size_t i = 0; i < own.size(); ++i) {
        const auto key =
            std::make_pair(own[i].element->Id(), static_cast<int>(own[i].element->CreationType()));
        const auto [at, first] = holders_.emplace(key, Holder{own[i], sourceText, &objects});
        const Holder& holder = at->second;
        if (first || holder.source == sourceText ||
            (holder.object.type == own[i].type &&
             SameObject(own[i].type, *own[i].element, objects, *holder.object.element,
                        *holder.objects))) {
            continue;
        }
        findings.OnObject(own[i], i, LintSeverity::eWarning, LintCode::kObjectIdInOtherFile,
                          L"Id " + std::to_wstring(key.first) +
                              L" and its creation type are also held by " +
                              DescribeObject(holder.object) + L" in " + holder.source +
                              L": a merge of the files gives this object a new Id");
    }
}

void CheckUnused(const std::vector<ObjectEntry>& own, const UsedObjects& used,
                 FindingList& findings) {
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (used.count(UsageKey(own[i].type, own[i].element->Id())) == 0) {
            findings.OnObject(own[i], i, LintSeverity::eWarning, LintCode::kUnusedObject,
                              L"no rule or named object refers to it");
        }
    }
}

}  // namespace fwcommon::lint
