#pragma once
// What the unit's part numbers say about the software in it: whether it runs only its loader
// (Main Upload Mode), and whether its software is of the versions this program serves.
#include "link/PartNumberRecord.h"

namespace tolm {

// The versions served, as part-number prefixes; a revision suffix after them is accepted.
inline constexpr const char* kServedMainSoftware = "731-402-000-1";
inline constexpr const char* kServedDspSoftware = "731-403-000-4";
inline constexpr const char* kServedConfigTable = "731-406-000-4";

// The unit reports only its main software part number.
bool isMainUploadMode(const PartNumberRecord& record);
// Main software, DSP software and configuration table all begin with the served prefixes
// (case-sensitive).
bool isCompatible(const PartNumberRecord& record);

}  // namespace tolm
