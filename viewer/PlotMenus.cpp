#include "viewer/PlotMenus.h"

namespace tolm::viewer {

namespace {

QString statusWord(bool suspect) {
    return suspect ? QStringLiteral("Suspect") : QStringLiteral("OK");
}

}  // namespace

DataStatus DataStatus::of(const QList<FlightDataElement>& flights) {
    DataStatus status;
    for (const FlightDataElement& f : flights) {
        const bool steady = f.steadySuspect();
        const bool transient = f.transientSuspect();
        status.anySuspect = status.anySuspect || steady || transient;
        status.entries.append(DataStatusEntry{QStringLiteral("Flight %1 - Steady State Status %2")
                                                  .arg(f.flightNumber())
                                                  .arg(statusWord(steady)),
                                              QStringLiteral("Flight %1 - Transient Data Status %2")
                                                  .arg(f.flightNumber())
                                                  .arg(statusWord(transient))});
    }
    return status;
}

PlotMenus PlotMenus::of(PlotType type, int parameter) {
    PlotMenus menus;
    const bool steady = type == PlotType::SteadyState;
    for (int id = 0; id < kParameterCount; ++id) {
        menus.parameterEnabled[id] = steady || !Parameters::hasNoTransientData(id);
    }
    menus.transientBinEnabled = !steady && parameter >= 10;
    return menus;
}

}  // namespace tolm::viewer
