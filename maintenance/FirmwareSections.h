#pragma once
// What the Firmware page offers, by the part numbers the unit reported: the main software is
// loaded only while the unit runs nothing else (Main Upload Mode); DSP software and
// configuration tables only into a unit that runs its full software. With no part numbers at
// all (the unit did not answer) everything is offered.
#include <QString>

#include "link/PartNumberRecord.h"

namespace tolm {

struct FirmwareSections {
    bool mainProcessor = true;
    bool dspProcessors = true;
};

FirmwareSections firmwareSections(const PartNumberRecord& partNumbers);
// A part number as the page shows it: right-aligned in 16 characters, cut to 16 ("%16.16s").
QString partNumberField(const QString& partNumber);

}  // namespace tolm
