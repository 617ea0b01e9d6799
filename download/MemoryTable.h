#pragma once
// The frame shared by the steady-state and transient tables: the preamble, the column line and
// a separator, then the rows of memory 0 ("PrD") and of memory 1 ("PoD") with the flight
// blocks in ascending flight number, each group closed by a separator.
#include <QString>
#include <functional>
#include <string_view>

#include "download/FileOutcome.h"
#include "download/FlightDataImage.h"
#include "download/ReportContext.h"
#include "download/TextBuffer.h"

namespace tolm {

// Writes the rows of one flight block; memoryLabel is "PrD" or "PoD".
using BlockRows =
    std::function<void(TextBuffer& out, std::string_view memoryLabel, const FlightBlockView& f)>;

// Creates the table at path and writes it; a file that cannot be created gives an error titled
// failureTitle.
FileOutcome WriteTableByMemory(const ReportContext& context, const QString& path,
                               const QString& failureTitle, const char* columns,
                               const FlightDataImage& image, const BlockRows& rows);

}  // namespace tolm
