#include "viewer/RegisteredAircraft.h"

#include "register/TolmAircraftSettings.h"

namespace tolm::viewer {

RegisteredAircraft RegisteredAircraft::load() {
    TolmAircraftSettings settings;
    QList<AircraftRecord> records;
    for (const QString& identifier : settings.aircraftIdentifiers()) {
        records.append(settings.loadAircraft(identifier));
    }
    return RegisteredAircraft(std::move(records));
}

std::array<EngineDetails, 2> RegisteredAircraft::engines(const QString& identifier) const {
    std::array<EngineDetails, 2> details;
    for (const AircraftRecord& r : records_) {
        if (r.identifier() == identifier) {
            for (int i = 0; i < 2; ++i) {
                const EngineRecord e = r.engine(i);
                details[i] = EngineDetails{e.type(), e.ser(), e.installDate()};
            }
        }
    }
    return details;
}

}  // namespace tolm::viewer
