#pragma once
// The raw flight-data file of one download: header, 20 data blocks converted from the image's
// flight blocks one at a time through one block buffer, trailer. Written under a temporary name
// and renamed into place when complete.
#include <QByteArray>
#include <QString>
#include <functional>

#include "download/FileOutcome.h"
#include "download/FlightDataImage.h"
#include "download/ReportContext.h"

namespace tolm {

class RawFlightFile {
public:
    using PumpEvents = std::function<void()>;

    // Writes the file, letting pending events through after each data block; a file that was not
    // written comes with its error box.
    static FileOutcome write(const QString& path, const ReportContext& context,
                             const FlightDataImage& image, const PumpEvents& pumpEvents);

    static QByteArray header(const ReportContext& context, const FlightDataImage& image);
    // Fills a zeroed block buffer from one flight block.
    static void fillBlock(unsigned char* buffer, FlightBlockView block);
    static QByteArray trailer(const FlightDataImage& image);
};

}  // namespace tolm
