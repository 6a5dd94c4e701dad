// RTD(progID, server, topic1, ...): data from a real-time data server.
// xllhost runs no RTD server.
#pragma once

#include "records/HostAnswer.h"

namespace xllhost {

// xlfRtd: #N/A for a server no program registered on this machine, as Excel
// answers one it cannot start; one that is registered xllhost does not run,
// and cannot judge the session.
Answer RealTimeData(const Request& request);

}  // namespace xllhost
