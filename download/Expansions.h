#pragma once
// The three text tables of a download, each in its own file next to the raw file, each opened
// by the preamble of the report header: steady-state ("ss"), transient ("ts") and Campbell
// ("cb") data, read from the flight-data image in memory. Each returns whether its file was
// written, and for a file that cannot be created the error box titled after the operation.
#include <QString>

#include "download/FileOutcome.h"
#include "download/FlightDataImage.h"
#include "download/ReportContext.h"

namespace tolm {

FileOutcome ExpandSteadyState(const ReportContext& context, const QString& path,
                              const FlightDataImage& image);
FileOutcome ExpandTransient(const ReportContext& context, const QString& path,
                            const FlightDataImage& image);
FileOutcome ExpandCampbell(const ReportContext& context, const QString& path,
                           const FlightDataImage& image);

}  // namespace tolm
