#include "fileio/FileIdentity.h"

#include <algorithm>

#include "fileio/FileIo.h"

namespace fwpolicy {

bool NamesSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (a != kStandardStream && b != kStandardStream && ::stat(a.c_str(), &first) == 0 &&
        ::stat(b.c_str(), &second) == 0) {
        return SameInode(first, second);
    }
    return a == b;
}

std::size_t FirstRepeatedFile(const std::vector<std::string>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (NamesSameFile(files[j], files[i]))
                return i;
        }
    }
    return files.size();
}

std::vector<std::string> DistinctFiles(const std::vector<std::string>& files) {
    std::vector<std::string> distinct;
    for (const std::string& file : files) {
        if (std::none_of(distinct.begin(), distinct.end(),
                         [&file](const std::string& kept) { return NamesSameFile(kept, file); }))
            distinct.push_back(file);
    }
    return distinct;
}

}  // namespace fwpolicy
