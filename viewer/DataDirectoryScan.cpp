#include "viewer/DataDirectoryScan.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tolm::viewer {

namespace {

// Entries of a directory whose names end with the suffix in any case (as the patterns "*_data"
// and "*.raw" match), in plain case-sensitive name order.
QFileInfoList sortedEntries(const QString& directory, QLatin1String suffix, QDir::Filters kind) {
    QFileInfoList entries =
        QDir(directory).entryInfoList(kind | QDir::NoDotAndDotDot, QDir::NoSort);
    entries.removeIf([suffix](const QFileInfo& e) {
        return !e.fileName().endsWith(suffix, Qt::CaseInsensitive);
    });
    std::sort(entries.begin(), entries.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    return entries;
}

}  // namespace

ScanResult DataDirectoryScan::scan(const QString& dataDirectory) {
    QFileInfoList files;
    const QString root = QFileInfo(dataDirectory).absoluteFilePath();
    for (const QFileInfo& data : sortedEntries(root, QLatin1String("_data"), QDir::Dirs)) {
        for (int engine = 1; engine <= 2; ++engine) {
            const QString path = QStringLiteral("%1/%2/engine_%3")
                                     .arg(root, data.fileName(), QString::number(engine));
            if (QFileInfo(path).isDir()) {
                files.append(rawFiles(path));
            }
        }
    }
    ScanResult result = scanFiles(files);
    sortFlights(result.flights);
    return result;
}

QFileInfoList DataDirectoryScan::rawFiles(const QString& engineDirectory) {
    return sortedEntries(engineDirectory, QLatin1String(".raw"), QDir::Files);
}

ScanResult DataDirectoryScan::scanFiles(const QFileInfoList& files) {
    ScanResult result;
    result.flights.reserve(files.size() * raw::kDataBlocks);
    for (const QFileInfo& file : files) {
        FlightInfo info = RawFlightReader::ExtractFlightInfo(file);
        if (!info.currentFormat) {
            result.incompatibleFiles.append(file.absoluteFilePath());
        }
        for (FlightListElement& f : info.flights) {
            result.flights.append(std::move(f));
        }
        if (info.error) {
            result.errors.append(*info.error);
        }
    }
    return result;
}

void DataDirectoryScan::sortFlights(QList<FlightListElement>& flights) {
    std::stable_sort(flights.begin(), flights.end(),
                     [](const FlightListElement& a, const FlightListElement& b) {
                         return a.flightNumber > b.flightNumber;
                     });
}

}  // namespace tolm::viewer
