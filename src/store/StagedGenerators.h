#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IdentifierGenerator.h>

namespace fwcommon {

// Copies of the identifier generators that a rule-index build works on, so
// that a build takes identifiers only when it succeeds: HandOver writes the
// copies back into the generators they were made from; a build that fails
// drops them and leaves the generators as they were. Generators that
// several creation types share are copied once. Used by one reader's
// thread; the generators must not change elsewhere while it lives.
class StagedGenerators {
public:
    using Lookup = std::function<std::shared_ptr<IdentifierGenerator>(CreationType)>;

    explicit StagedGenerators(Lookup lookup);
    StagedGenerators(const StagedGenerators&) = delete;
    StagedGenerators& operator=(const StagedGenerators&) = delete;

    // The copy of the generator of the creation type.
    IdentifierGenerator& For(CreationType creationType);
    void HandOver();

private:
    struct Staged {
        std::shared_ptr<IdentifierGenerator> original;
        std::unique_ptr<IdentifierGenerator> copy;
    };

    Lookup lookup_;
    std::vector<Staged> staged_;
    std::map<CreationType, IdentifierGenerator*> byCreationType_;
};

}  // namespace fwcommon
