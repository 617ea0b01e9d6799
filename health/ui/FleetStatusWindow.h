#pragma once
// The fleet status page: every engine of every aircraft of the register with its last download,
// the flights on file, its latest flight with that flight's current and historic alarm levels,
// and the change of the chosen parameter and record over its last N flights; worst first. A
// double-click on a row opens the trend window of that engine.
#include <memory>

#include "health/FleetStatus.h"
#include "toolkit/ZafWindow.h"

class QTableWidget;

namespace tolm::health {

class FlightIndex;

class FleetStatusWindow : public ZafWindow {
    Q_OBJECT
public:
    static inline const QString kIdentifier = QStringLiteral("FleetStatusWindow");
    static inline const QString kTitle = QStringLiteral("Fleet Status");
    static inline const QString kIndexFailed =
        QStringLiteral("The flight index cannot be read:\n%1");

    FleetStatusWindow();
    ~FleetStatusWindow() override;

    // The page among the top-level windows (brought to the front when it is there already),
    // filled.
    static FleetStatusWindow* Open();
    static FleetStatusWindow* Find();

    ZafEventType Event(const ZafEventStruct& event) override;

    // Reads the status from the index (a fresh scan with `rescan`) and lists it.
    void Refresh(bool rescan = false);
    const FleetStatus& Status() const { return status_; }
    QTableWidget* Table() const;

private:
    void ReadChoices();
    void List();
    void OpenTrend(int row);

    std::unique_ptr<FlightIndex> index_;
    StatusRequest request_;
    FleetStatus status_;
    ZafObject parameterChoice_, recordChoice_, lastFlights_, statusLine_;
};

}  // namespace tolm::health
