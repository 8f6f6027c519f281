#include "fileio/PolicyFile.h"

#include <iostream>

#include <fwcommon/PolicyDocument.h>
#include "fileio/FileIo.h"
#include "render/Diagnostics.h"
#include "terminal/Progress.h"

namespace fwpolicy {

std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file, std::ostream& err) {
    try {
        const terminal::ProgressStage stage("loading " + file);
        return fwcommon::ParsePolicyDocument(ReadFile(file));
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(err, file, e);
    } catch (const std::exception& e) {
        PrintFileError(err, file, e.what());
    }
    return nullptr;
}

std::unique_ptr<Sarvo::PolicyType> LoadPolicyFile(const std::string& file) {
    return LoadPolicyFile(file, std::cerr);
}

}  // namespace fwpolicy
