#pragma once
// One flight however many files hold it: a flight is the same flight when its engine serial
// number, flight number, memory and block bytes (their hash) are the same. Its copies are the
// file and block slot of every file that holds it, earliest download first, so that any copy
// can be opened.
#include <QList>
#include <QString>

#include "health/FlightRow.h"

namespace tolm::health {

struct FlightCopy {
    QString path;
    int slot = 0;
    QString aircraft;
    qint32 engineNumber = 0;
    qint64 writtenAt = 0;
    bool operator==(const FlightCopy&) const = default;
};

struct DistinctFlight {
    qint32 serial = kUnknownSerial;
    qint32 flightNumber = 0;
    qint32 memory = 0;
    quint64 hash = 0;
    AlarmLevels alarms;
    RecordValues values = FlightRow::nanValues();
    QList<FlightCopy> copies;  // never empty

    // When the flight was first filed: the earliest download that holds it.
    qint64 firstFiled() const { return copies.first().writtenAt; }
    int fileCount() const;
    // The flight list's count of copies: "in %1 files" when more than one file holds it, else
    // empty.
    QString copiesText() const;

    // Groups the rows into flights, in the order of their first rows; each row joins the flight
    // of its engine, flight number, memory and hash.
    static QList<DistinctFlight> group(const QList<FlightRow>& rows);
    // The flight list's order: highest flight number first, then memory, then first filed.
    static void sortForList(QList<DistinctFlight>& flights);
};

}  // namespace tolm::health

Q_DECLARE_TYPEINFO(tolm::health::FlightCopy, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(tolm::health::DistinctFlight, Q_RELOCATABLE_TYPE);
