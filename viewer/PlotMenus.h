#pragma once
// The plot window's menu states: which parameters can be chosen, whether the transient-bin menu
// is enabled, and the data-status entries of each flight with the global indicator.
#include <QList>
#include <QString>
#include <array>

#include "viewer/FlightDataElement.h"
#include "viewer/Parameters.h"

namespace tolm::viewer {

struct DataStatusEntry {
    QString steady;     // "Flight %1 - Steady State Status %2"
    QString transient;  // "Flight %1 - Transient Data Status %2"
    bool operator==(const DataStatusEntry&) const = default;
};

struct DataStatus {
    QList<DataStatusEntry> entries;  // per flight in list order; a separator between flights
    bool anySuspect = false;
    QString indicatorImage() const {
        return anySuspect ? QStringLiteral("BadData") : QStringLiteral("GoodData");
    }
    static DataStatus of(const QList<FlightDataElement>& flights);
};

struct PlotMenus {
    std::array<bool, kParameterCount> parameterEnabled{};  // by identifier
    bool transientBinEnabled = false;

    // Steady state: every parameter, no bin. Transient: all but "TR4R_avg" and "TR4R_std"; the
    // bin menu only for parameters that plot one bin (not those plotting the four bins' averages).
    static PlotMenus of(PlotType type, int parameter);
};

}  // namespace tolm::viewer
