#pragma once
// The trend window: one engine of the register, one steady-state parameter and one record (or
// the highest of the 26), one point per flight over every flight of the engine in the flight
// index, by flight number or by download date; flights with a current alarm level drawn as a
// series of their own. It zooms (rubber band, Reset Zoom), reads out the point under the mouse,
// tabulates the points shown, exports the trend's CSV, saves and prints the chart, and lists
// the raw files the index left out.
#include <QList>
#include <memory>

#include "health/IndexedFile.h"
#include "health/Trend.h"
#include "health/ui/HealthChoices.h"
#include "toolkit/ZafWindow.h"

namespace tolm::health {

class FlightIndex;
class TrendChart;

class TrendWindow : public ZafWindow {
    Q_OBJECT
public:
    static inline const QString kIdentifier = QStringLiteral("TrendWindow");
    static inline const QString kCsvTitle = QStringLiteral("Export Trend");
    static inline const QString kCsvFilter = QStringLiteral("CSV file (*.csv)");
    static inline const QString kCsvFailed = QStringLiteral("Couldn't write the CSV file");
    static inline const QString kIndexTitle = QStringLiteral("Engine Trend");
    static inline const QString kIndexFailed =
        QStringLiteral("The flight index cannot be read:\n%1");
    static inline const QString kNoEngine = QStringLiteral("The register has no engine.");

    // The trend of engine `engineNumber` of `aircraft` (the register's first engine when the
    // register has no such engine), of the highest A4R record by flight number.
    explicit TrendWindow(const QString& aircraft = QString(), int engineNumber = 1);
    ~TrendWindow() override;

    // A new trend window among the top-level windows, drawn.
    static TrendWindow* Open(const QString& aircraft, int engineNumber);

    ZafEventType Event(const ZafEventStruct& event) override;

    // Reads the trend chosen from the index and draws it.
    void Refresh();

    const Trend& Current() const { return trend_; }
    const RegisteredEngine* Engine() const;
    TrendChart* Chart() const { return chart_; }
    // The files the index left out, as last read.
    const QList<SkippedFile>& LeftOut() const { return leftOut_; }

private:
    void ReadChoices();
    void ExportCsv();
    void Tabulate();
    void ShowLeftOut();
    void RefreshTabulation();

    std::unique_ptr<FlightIndex> index_;
    QList<RegisteredEngine> engines_;
    int engine_ = -1;  // in engines_
    TrendRequest request_;
    Trend trend_;
    QList<SkippedFile> leftOut_;
    TrendChart* chart_ = nullptr;
    ZafObject engineChoice_, parameterChoice_, recordChoice_, xChoice_, status_;
};

}  // namespace tolm::health
