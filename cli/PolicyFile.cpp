#include "PolicyFile.h"

#include <iostream>

#include <fwcommon/PolicyDocument.h>
#include "Diagnostics.h"
#include "FileIo.h"

namespace fwpolicy {

std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file) {
    try {
        return fwcommon::ParsePolicyDocument(ReadFile(file));
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const std::exception& e) {
        std::cerr << "fwpolicy: " << file << ": " << e.what() << '\n';
    }
    return nullptr;
}

}  // namespace fwpolicy
