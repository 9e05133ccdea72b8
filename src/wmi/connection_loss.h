#pragma once
// When a worker must stop trusting the connection it keeps: after winmgmt restarts or the
// remote computer reboots, every call on the old proxies fails, and only a new connection
// helps.
#include <cstdint>

namespace brevane::wmi {

// status: the failing call's status (0 when unknown). workedBefore: the connection has served
// a request before. True for the codes that say the connection is gone, and for any failure
// of a connection that worked before, except the answers that concern only the request (no
// such class, object or property; a query or path WMI cannot read; no permission for it; a
// provider that cannot do it).
bool ConnectionLost(int32_t status, bool workedBefore);

}  // namespace brevane::wmi
