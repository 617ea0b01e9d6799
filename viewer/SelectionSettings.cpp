#include "viewer/SelectionSettings.h"

#include "register/TolmAircraftSettings.h"
#include "viewer/PlotSettings.h"

namespace tolm::viewer {

QString SelectionSettings::lastAircraft() {
    return TolmAircraftSettings().lastAircraft();
}

void SelectionSettings::setLastAircraft(const QString& identifier) {
    TolmAircraftSettings().setLastAircraft(identifier);
}

int SelectionSettings::memoryType() {
    return PlotSettings::readMemoryType();
}

void SelectionSettings::setMemoryType(int memoryType) {
    PlotSettings::storeMemoryType(memoryType);
}

}  // namespace tolm::viewer
