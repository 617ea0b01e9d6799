#pragma once
// The aircraft register as the flight selection shows it: the type, serial number and
// installation date of both engines of the chosen aircraft.
#include <QList>
#include <QString>
#include <array>

#include "formats/AircraftRecord.h"

namespace tolm::viewer {

struct EngineDetails {
    QString type;
    QString serial;
    QString installDate;
    bool operator==(const EngineDetails&) const = default;
};

class RegisteredAircraft {
public:
    explicit RegisteredAircraft(QList<AircraftRecord> records) : records_(std::move(records)) {}
    // Every record of the register in the settings store.
    static RegisteredAircraft load();

    // The engines of the aircraft with exactly this identifier; empty texts when the register
    // does not hold it, so that no other aircraft's details stay on show.
    std::array<EngineDetails, 2> engines(const QString& identifier) const;

private:
    QList<AircraftRecord> records_;
};

}  // namespace tolm::viewer
