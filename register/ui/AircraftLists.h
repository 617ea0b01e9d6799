#pragma once
// The register shown in lists and combo boxes of the register's windows.
#include "toolkit/ZafObject.h"

namespace tolm {

// Lists the aircraft identifiers (each item sending `event` unless it is 0), selects the first
// and then "LastAircraft" when it is listed. Returns the number of items.
int fillAircraftList(ZafObject list, ZafEventType event);
// Lists the engine-type names in key order.
void fillEngineTypeList(ZafObject list, ZafEventType event);

}  // namespace tolm
