#pragma once
// An aircraft identifier is both a settings key ("AircraftInfo/<identifier>") and part of a
// directory name ("<data directory>/<identifier>_data"), so only identifiers that are safe as
// both are taken in.
#include <QString>

namespace tolm {

// False for an empty identifier, "." and "..", and one holding "/", "\", a control character or
// a character that Windows forbids in file names.
bool isUsableAircraftId(const QString& identifier);

// "<data directory>/<identifier>_data".
QString aircraftDataPath(const QString& dataDirectory, const QString& identifier);
// "<data directory>/<identifier>_data/engine_<engine number>".
QString engineDataPath(const QString& dataDirectory, const QString& identifier, int engineNumber);

}  // namespace tolm
