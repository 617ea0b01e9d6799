#pragma once
// The preamble of every table of a download: the report header (file, unit software, aircraft
// and engine, totals, alarm levels) and the alarm-level table with one line per flight.
#include <QByteArray>
#include <string_view>

#include "download/FlightDataImage.h"
#include "download/ReportContext.h"
#include "download/TextBuffer.h"

namespace tolm {

class ReportHeader {
public:
    // Writes the report header and the alarm-level table; fileName is the table's own name
    // without its directory.
    static void write(TextBuffer& out, const QByteArray& fileName, const ReportContext& context,
                      const FlightDataImage& image);
    static void writeHeader(TextBuffer& out, const QByteArray& fileName,
                            const ReportContext& context, const FlightDataImage& image);
    static void writeAlarmLevelTable(TextBuffer& out, const FlightDataImage& image);

    static std::string_view accelSourceText(qint32 source);
    static QByteArray currentLevelText(quint32 level);
    static QByteArray historicLevelText(quint32 level);
    static std::string_view memoryLabel(quint32 memory);
};

}  // namespace tolm
