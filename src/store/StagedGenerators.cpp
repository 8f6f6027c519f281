#include "store/StagedGenerators.h"

#include <utility>

namespace fwcommon {

StagedGenerators::StagedGenerators(Lookup lookup) : lookup_(std::move(lookup)) {}

IdentifierGenerator& StagedGenerators::For(CreationType creationType) {
    auto known = byCreationType_.find(creationType);
    if (known != byCreationType_.end()) {
        return *known->second;
    }
    std::shared_ptr<IdentifierGenerator> original = lookup_(creationType);
    IdentifierGenerator* copy = nullptr;
    for (const Staged& staged : staged_) {
        if (staged.original == original) {
            copy = staged.copy.get();
        }
    }
    if (copy == nullptr) {
        staged_.push_back({original, std::make_unique<IdentifierGenerator>(*original)});
        copy = staged_.back().copy.get();
    }
    byCreationType_.emplace(creationType, copy);
    return *copy;
}

void StagedGenerators::HandOver() {
    for (Staged& staged : staged_) {
        *staged.original = *staged.copy;
    }
}

}  // namespace fwcommon
