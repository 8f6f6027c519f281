#include <fwcommon/Context.h>

#include <fwcommon/LogFacility.h>
#include "context/RegistryEntryParts.h"
#include "context/RsopMerge.h"
#include "store/XmlReader.h"

namespace fwcommon {

void Context::GetRSOP(std::vector<unsigned char>& out, std::int64_t time, int period) {
    GetLibLogFacility().Log(L"'GetRSOP': " + std::to_wstring(registry_.size()) + L" documents",
                            kLogRoutine);
    // The envelope of a new document, carrying the application time and
    // period as a store sets them.
    XmlReader resultant(std::vector<unsigned char>(), User, namedObjectsDataname_, schemaPath_,
                        nullptr);
    resultant.SetApplicationProperties(time, period);
    RsopMerge merge(std::make_unique<Sarvo::PolicyType>(resultant.GetDocument()), generators_);
    for (const auto& entry : registry_) {
        if (const auto& reader = DataOf(entry).reader) {
            // Names the document that the renumberings logged next belong to.
            GetLibLogFacility().Log(L"'GetRSOP': merging '" + entry.first + L"'", kLogRoutine);
            merge.Add(reader->GetDocument());
        }
    }
    out = merge.Write();
}

}  // namespace fwcommon
