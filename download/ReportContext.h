#pragma once
// What a download knows about the engine whose data it files: the register's aircraft record,
// the unit's part numbers and the moment of the download (one clock reading per engine, which
// names the raw file, stamps its header and every table's "File created:" line).
#include <QDateTime>

#include "formats/AircraftRecord.h"
#include "link/PartNumberRecord.h"

namespace tolm {

struct ReportContext {
    int engineIndex = 0;  // 0 or 1; engine number engineIndex + 1
    AircraftRecord aircraft;
    PartNumberRecord partNumbers;
    QDateTime created;

    int engineNumber() const { return engineIndex + 1; }
    EngineRecord engine() const { return aircraft.engine(engineIndex); }
};

}  // namespace tolm
