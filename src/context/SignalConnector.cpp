#include <fwcommon/SignalConnector.h>

namespace fwcommon {

SignalConnector::SignalConnector() = default;

SignalConnector::~SignalConnector() {
    objectAdded.disconnect_all_slots();
    objectModified.disconnect_all_slots();
    objectRemoved.disconnect_all_slots();
    committing.disconnect_all_slots();
    namedObjectsCommitted.disconnect_all_slots();
    rollingBack.disconnect_all_slots();
    namedObjectsRolledBack.disconnect_all_slots();
    hostQuery.disconnect_all_slots();
    hostNotice.disconnect_all_slots();
    hostReset.disconnect_all_slots();
}

}  // namespace fwcommon
