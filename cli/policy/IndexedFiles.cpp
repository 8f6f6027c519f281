#include "policy/IndexedFiles.h"

#include "fileio/DataFiles.h"
#include "fileio/PolicyFile.h"

namespace fwpolicy {

bool IndexFiles(const std::vector<std::string>& files, const std::string& objectsFile,
                PolicyIndex& index) {
    bool allLoaded = LoadDictionaries();
    const auto wrapper = fwcommon::GetXmlWrapper();
    std::vector<std::string> all = files;
    if (!objectsFile.empty())
        all.push_back(objectsFile);
    for (const std::string& file : all) {
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
