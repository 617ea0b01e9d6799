#pragma once
// One indexed flight block as the index gives it back: where it is filed, whose it is, its
// flight, alarm levels and hash, and the 26 records' values of one steady-state parameter.
#include <QHashFunctions>
#include <QString>
#include <QTypeInfo>
#include <array>
#include <limits>
#include <optional>

#include "health/AlarmLevels.h"
#include "health/IndexedFile.h"

namespace tolm::health {

using RecordValues = std::array<float, kSteadyRecords>;

// What makes two flight blocks one flight: engine serial number, flight number, memory and the
// hash of the block's bytes.
struct FlightKey {
    qint32 serial = 0;
    qint32 flightNumber = 0;
    qint32 memory = 0;
    quint64 hash = 0;
    bool operator==(const FlightKey&) const = default;
};

inline size_t qHash(const FlightKey& k, size_t seed = 0) {
    return ::qHash(k.hash, seed) ^
           ::qHash(quint64(quint32(k.flightNumber)) << 32 | quint32(k.serial), seed) ^
           size_t(k.memory);
}

struct FlightRow {
    QString path;
    int slot = 0;
    QString aircraft;
    qint32 engineNumber = 0;
    qint32 serial = kUnknownSerial;
    qint64 writtenAt = 0;  // seconds since 1970 UTC
    qint32 flightNumber = 0;
    qint32 memory = 0;
    AlarmLevels alarms;
    quint64 hash = 0;
    // The requested parameter's values of records 1 to 26; NaN when no parameter was asked for.
    RecordValues values = nanValues();

    FlightKey key() const { return FlightKey{serial, flightNumber, memory, hash}; }

    static RecordValues nanValues() {
        RecordValues v;
        v.fill(std::numeric_limits<float>::quiet_NaN());
        return v;
    }
};

// Which rows to give back: of one engine by serial number, or of one aircraft's engine and
// memory as the flight selection chooses them; every row when nothing is set.
struct RowFilter {
    std::optional<qint32> serial;
    std::optional<QString> aircraft;
    std::optional<qint32> engineNumber;
    std::optional<qint32> memory;
};

}  // namespace tolm::health

// Its members move by their bytes: a list of rows grows by moving memory, not row by row.
Q_DECLARE_TYPEINFO(tolm::health::FlightRow, Q_RELOCATABLE_TYPE);
