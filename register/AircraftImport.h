#pragma once
// Import of aircraft from a comma-separated text file, one aircraft per line:
// identifier, shop ID, engine 1 type, SER, installation date, engine 2 type, SER, installation
// date, comments. Empty lines and lines beginning with "#" are skipped.
#include <QString>
#include <QStringList>
#include <optional>

#include "core/Notice.h"

namespace tolm {

struct AircraftImportResult {
    int imported = 0;
    QStringList refusedIdentifiers;  // lines skipped for an identifier unusable as key and folder
};

// Stores every aircraft of the file and creates its engine folders under dataDirectory; empty
// when the file does not open. Shows nothing.
std::optional<AircraftImportResult> importAircraftFile(const QString& path,
                                                       const QString& dataDirectory);

// Imports into the data directory; the box that tells the user how it went.
Notice ImportAircraft(const QString& path);

}  // namespace tolm
