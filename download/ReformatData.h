#pragma once
// The post-processing of one engine's download: keeps a backup copy of the downloaded image,
// files it as a raw flight-data file under the aircraft's data directory and writes the three
// text tables next to it. What the user must be told comes back as notices, in order.
#include <QString>
#include <functional>

#include "core/Notice.h"

#include "formats/AircraftRecord.h"
#include "link/PartNumberRecord.h"

namespace tolm {

// Progress of the operation, 0 .. maximum.
using ReformatProgress = std::function<void(int value, int maximum)>;
// Lets the windows draw; called between data blocks and between tables.
using ReformatPumpEvents = std::function<void()>;

struct ReformatResult {
    // Whether the raw file was written: an engine whose raw file was not written must not be
    // erased, since the unit then holds the only copy of its data.
    bool rawWritten = false;
    QString rawPath;  // the raw file written, when it was
    // The boxes to show, in the order the operation met them.
    Notices notices;
};

// Files the image at imagePath (the link's response file of the download command) for engine
// index 0 or 1. The image is deleted once the raw file is written or its backup copy exists,
// never earlier.
ReformatResult ReformatData(const QString& imagePath, int engineIndex,
                            const AircraftRecord& aircraft, const PartNumberRecord& partNumbers,
                            const QString& dataDirectory, const ReformatProgress& progress,
                            const ReformatPumpEvents& pumpEvents);

}  // namespace tolm
