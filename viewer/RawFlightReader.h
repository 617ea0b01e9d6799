#pragma once
// Reading raw flight-data files for the flight selection. The scan of one file learns which data
// blocks are complete from the header and the file's size, without reading the blocks; a chosen
// flight is read back by its file and block slot. Errors come back as values.
#include <QByteArrayView>
#include <QDateTime>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <optional>

#include "viewer/FlightDataElement.h"
#include "viewer/ReadError.h"

namespace tolm::viewer {

// One flight found on disk: a used data block of a raw file.
struct FlightListElement {
    QString path;  // absolute
    QString aircraft;
    int engine = 0;
    int flightNumber = 0;
    int memoryType = 0;
    int slot = 0;        // data block 0..19
    QDateTime modified;  // the file's last modification (shown in local time)
    bool operator==(const FlightListElement&) const = default;
};

// What one file adds to the flight list.
struct FlightInfo {
    bool currentFormat = true;  // false: a file of an earlier format (wrong magic); no flights
    QList<FlightListElement> flights;
    std::optional<ReadError> error;  // the flights before the failing block stay
};

class RawFlightReader {
public:
    static inline const QString kInfoOperation = QStringLiteral("SelectDialog::ExtractFlightInfo");
    static inline const QString kDataOperation = QStringLiteral("SelectDialog::ExtractFlightData");
    static inline const QString kFailedToOpen = QStringLiteral("Failed to open file");
    static inline const QString kFailedToReadHeader = QStringLiteral("Failed to read header block");
    static inline const QString kInvalidFormat = QStringLiteral("Invalid file format");
    static inline const QString kInvalidBlockIndex = QStringLiteral("Invalid data block index");
    static inline const QString kErrorPositioning = QStringLiteral("Error positioning");
    static inline const QString kFailedToReadBlock = QStringLiteral("Failed to read data block");

    // Scans one file; errors name it by its file name, as found in its directory.
    static FlightInfo ExtractFlightInfo(const QFileInfo& file);
    // The same from the file's first bytes (at most 788 are looked at) and its size.
    static FlightInfo flightInfo(QByteArrayView start, qint64 fileSize, const QString& path,
                                 const QString& shownName, const QDateTime& modified);

    // Reads the header and the data block of one listed flight. The block slot must still hold
    // the listed flight number.
    static Outcome<FlightDataElement> ExtractFlightData(const FlightListElement& element);
    // The message that refuses the slot of this header, if any.
    static std::optional<QString> checkSlot(const RawFileHeader& header, int slot,
                                            int flightNumber);
};

}  // namespace tolm::viewer
