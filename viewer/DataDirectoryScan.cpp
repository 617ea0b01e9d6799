#include "viewer/DataDirectoryScan.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tolm::viewer {

namespace {

// Entries of a directory matching the pattern, in plain case-sensitive name order.
QFileInfoList sortedEntries(const QString& directory, const QString& pattern, QDir::Filters kind) {
    QFileInfoList entries =
        QDir(directory).entryInfoList({pattern}, kind | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(entries.begin(), entries.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    return entries;
}

}  // namespace

ScanResult DataDirectoryScan::scan(const QString& dataDirectory) {
    ScanResult result;
    const QString root = QFileInfo(dataDirectory).absoluteFilePath();
    for (const QFileInfo& data : sortedEntries(root, QStringLiteral("*_data"), QDir::Dirs)) {
        for (int engine = 1; engine <= 2; ++engine) {
            const QString path =
                QStringLiteral("%1/%2/engine_%3").arg(root, data.fileName()).arg(engine);
            if (QFileInfo(path).isDir()) {
                scanEngineDirectory(path, result);
            }
        }
    }
    sortFlights(result.flights);
    return result;
}

void DataDirectoryScan::scanEngineDirectory(const QString& path, ScanResult& result) {
    for (const QFileInfo& file : sortedEntries(path, QStringLiteral("*.raw"), QDir::Files)) {
        const FlightInfo info = RawFlightReader::ExtractFlightInfo(file);
        if (!info.currentFormat) {
            result.incompatibleFiles.append(file.absoluteFilePath());
        }
        result.flights.append(info.flights);
        if (info.error) {
            result.errors.append(*info.error);
        }
    }
}

void DataDirectoryScan::sortFlights(QList<FlightListElement>& flights) {
    std::stable_sort(flights.begin(), flights.end(),
                     [](const FlightListElement& a, const FlightListElement& b) {
                         return a.flightNumber > b.flightNumber;
                     });
}

}  // namespace tolm::viewer
