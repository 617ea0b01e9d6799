#pragma once
// The aircraft register in the settings store: one 2699-byte record per aircraft under
// "AircraftInfo/<identifier>", the engine types under "EngineType_0", "EngineType_1", ... without
// gaps, and "LastAircraft". Created on the stack for one use; it keeps nothing in memory.
#include <QStringList>

#include "core/SettingsStore.h"
#include "formats/AircraftRecord.h"

namespace tolm {

class TolmAircraftSettings {
public:
    TolmAircraftSettings();

    // Writes the record under the identifier. Under an identifier that is not stored yet, the
    // caller's record first gets "download bearing data" turned on for both engines. An
    // identifier that is not usable as a key (isUsableAircraftId) stores nothing.
    void storeAircraft(const QString& identifier, AircraftRecord& record);
    // The stored record; a missing key or a short value reads as zeros where it has no bytes.
    AircraftRecord loadAircraft(const QString& identifier);
    bool containsAircraft(const QString& identifier);
    void removeAircraft(const QString& identifier);
    QStringList aircraftIdentifiers();
    int countAircraft();

    QString lastAircraft();
    // Where a list of aircraftIdentifiers() starts: "LastAircraft" when it is listed, else the
    // first; -1 with an empty register.
    int initialAircraft();
    void setLastAircraft(const QString& identifier);

    // Engine-type names in key order, up to the first missing number.
    QStringList engineTypes();
    // Top-level keys beginning with "EngineType_".
    int countEngineTypes();
    void setEngineType(int number, const QString& name);
    // Removes the first entry with that name and moves the ones after it down by one.
    void removeEngineType(const QString& name);

private:
    QString aircraftKey(const QString& identifier) const;

    SettingsStore settings_;
    QString group_;
};

// The record of an identifier given as local 8-bit text, read through a settings object of its
// own.
AircraftRecord loadAircraft(const QByteArray& identifier);

}  // namespace tolm
