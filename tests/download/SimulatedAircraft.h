#pragma once
// The aircraft whose two engines the simulated unit serves: the engine serial numbers that the
// simulator's images carry, type CFM56-7, and the given download and erase options on both.
#include <QString>
#include <initializer_list>

#include "formats/AircraftRecord.h"

inline tolm::AircraftRecord simulatedAircraft(
    const QString& identifier, std::initializer_list<tolm::EngineOption> options = {}) {
    tolm::AircraftRecord aircraft;
    aircraft.setIdentifier(identifier);
    for (int e = 0; e < 2; ++e) {
        tolm::EngineRecord engine;
        engine.setType(QStringLiteral("CFM56-7"));
        engine.setSer(e == 0 ? QStringLiteral("889123") : QStringLiteral("889124"));
        for (tolm::EngineOption o : options) {
            engine.setOption(o, true);
        }
        aircraft.setEngine(e, engine);
    }
    return aircraft;
}
