#include "health/ui/HealthChoices.h"

#include <algorithm>
#include <tuple>

#include "health/FleetStatus.h"
#include "health/IndexedFile.h"
#include "health/Trend.h"
#include "viewer/Parameters.h"

namespace tolm::health {

namespace {

// The steady-state parameters' identifiers in menu order.
const QList<int>& parameterOrder() {
    static const QList<int> order = [] {
        QList<int> o;
        for (const viewer::Parameter& p : viewer::Parameters::inMenuOrder()) {
            if (p.identifier >= 0 && p.identifier < kSteadyParameters) {
                o.append(p.identifier);
            }
        }
        return o;
    }();
    return order;
}

}  // namespace

QString RegisteredEngine::label() const {
    return QStringLiteral("%1 engine %2 (SER %3)").arg(aircraft).arg(engineNumber).arg(ser);
}

QList<RegisteredEngine> HealthChoices::engines() {
    // The fleet status without flights: the register's engines with their serial numbers.
    const FleetStatus bare = FleetStatus::of(FleetStatus::registeredAircraft(), {}, {}, {});
    QList<RegisteredEngine> list;
    for (const EngineStatus& e : bare.engines()) {
        list.append({e.aircraft, e.engineNumber, e.ser, e.serial});
    }
    std::stable_sort(
        list.begin(), list.end(), [](const RegisteredEngine& a, const RegisteredEngine& b) {
            return std::tie(a.aircraft, a.engineNumber) < std::tie(b.aircraft, b.engineNumber);
        });
    return list;
}

void HealthChoices::fillParameters(ZafObject combo, int selected, ZafEventType event) {
    combo.ClearItems();
    for (int identifier : parameterOrder()) {
        combo.AddItem(viewer::Parameters::name(identifier), event);
    }
    combo.SetItemSelected(std::max(0, int(parameterOrder().indexOf(selected))));
}

int HealthChoices::parameterAt(int item) {
    return parameterOrder().value(item, -1);
}

void HealthChoices::fillRecords(ZafObject combo, int record, ZafEventType event) {
    combo.ClearItems();
    combo.AddItem(kHighestRecord, event);
    for (int r = 0; r < kSteadyRecords; ++r) {
        combo.AddItem(QStringLiteral("Bin %1").arg(r + 1), event);
    }
    combo.SetItemSelected(record == TrendRequest::kHighestRecord ? 0 : record + 1);
}

int HealthChoices::recordAt(int item) {
    return item <= 0 ? TrendRequest::kHighestRecord : item - 1;
}

}  // namespace tolm::health
