#include "FileIdentity.h"

#include "FileIo.h"

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

}  // namespace fwpolicy
