#pragma once

#include <map>
#include <utility>

#include <nlohmann/json.hpp>

#include <fwcommon/rules.hxx>

#include "policy/PolicyIndex.h"
#include "render/ConditionJson.h"

namespace fwpolicy {

// Named objects as `objects --json` and `object show --json` print them:
// identifier, name, creation type, how many rules use the object, and its
// inclusions and exclusions as structured entries, each as show --json
// gives a condition of its kind. Built once for a policy, whose document
// must outlive it; read-only afterwards.
class ObjectJsonWriter {
public:
    explicit ObjectJsonWriter(const Sarvo::PolicyType& policy);

    // The object, of which rules rules refer to it directly.
    ConditionJson::Json Object(const ObjectEntry& object, std::size_t rules) const;

private:
    struct Members {
        ConditionJson::Json inclusions = ConditionJson::Json::array();
        ConditionJson::Json exclusions = ConditionJson::Json::array();
    };
    template <typename Sequence, typename Entry>
    void Collect(const Sequence& objects, ObjectKind kind, Entry entry);

    KindedObjectNames names_;
    textforms::ProtocolNames protocols_;
    ConditionText words_;
    ConditionJson json_;
    std::map<ObjectPlace, Members> members_;
};

}  // namespace fwpolicy
