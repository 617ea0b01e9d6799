#pragma once
// Removing an aircraft: its register entry and its own data folder "<identifier>_data" inside
// the data directory, never anything outside that folder.
#include <QString>
#include <optional>

#include "core/Notice.h"

namespace tolm {

// Deletes "<dataDirectory>/<identifier>_data" with everything in it. A symbolic link in its place
// is removed without touching what it points to. True when nothing of it is left (also when it
// did not exist); false when some of it stayed, or when the identifier cannot name a folder of
// its own.
bool removeAircraftData(const QString& dataDirectory, const QString& identifier);

// Removes a registered aircraft and its data folder; the error to show when the folder could not
// be fully deleted. An identifier not in the register changes nothing.
std::optional<Notice> RemoveAircraft(const QString& identifier);

}  // namespace tolm
