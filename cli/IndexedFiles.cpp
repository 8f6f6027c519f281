#include "IndexedFiles.h"

#include "DataFiles.h"
#include "PolicyFile.h"

namespace fwpolicy {

bool IndexFiles(const std::vector<std::string>& files, PolicyIndex& index) {
    bool allLoaded = LoadDictionaries();
    const auto wrapper = fwcommon::GetXmlWrapper();
    for (const std::string& file : files) {
        const auto policy = LoadPolicyFile(file);
        if (!policy) {
            allLoaded = false;
            continue;
        }
        AppendIndex(index, IndexPolicy(*policy, *wrapper), file);
    }
    return allLoaded;
}

}  // namespace fwpolicy
