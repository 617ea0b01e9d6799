#pragma once
// The event numbers of the engine-health windows (the trend window, its tabulation and list of
// left-out files, the fleet status page), 14000 on.
#include "toolkit/ZafEvent.h"

namespace tolm::health::HealthEvent {

inline constexpr ZafEventType TrendChoice = 14000;   // engine, parameter, record or x axis chosen
inline constexpr ZafEventType ResetZoom = 14001;     // Reset Zoom
inline constexpr ZafEventType Tabulate = 14002;      // Tabulate...
inline constexpr ZafEventType ExportCsv = 14003;     // Export CSV...
inline constexpr ZafEventType SaveImage = 14004;     // Save Image...
inline constexpr ZafEventType Print = 14005;         // Print...
inline constexpr ZafEventType LeftOutFiles = 14006;  // Left-out Files...
inline constexpr ZafEventType StatusChoice = 14007;  // the status page's parameter, record, N
inline constexpr ZafEventType Refresh = 14008;       // the status page's Refresh
inline constexpr ZafEventType OpenTrend = 14009;     // a status row double-clicked
inline constexpr ZafEventType Close = 14010;         // a window's Close button

}  // namespace tolm::health::HealthEvent
