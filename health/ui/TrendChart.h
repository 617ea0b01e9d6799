#pragma once
// The trend window's chart: the viewer's chart component drawing one engine's trend as two
// series, the flights without and with a current alarm level, each with its own symbol and its
// own legend entry. Moving the mouse over a point reads it out in the chart's text box.
#include <QList>
#include <optional>

#include "health/Trend.h"
#include "viewer/ui/Xrt2dPlot.h"

namespace tolm::health {

class TrendChart : public Xrt2dPlot {
    Q_OBJECT
public:
    static inline const QString kNormalLegend = QStringLiteral("Flights");
    static inline const QString kAlarmedLegend =
        QStringLiteral("Flights with a current alarm level");
    static constexpr int kNormalSet = 0;
    static constexpr int kAlarmedSet = 1;

    // Fills `parent`, a placeholder of the window's form.
    explicit TrendChart(QWidget* parent);

    void Draw(const Trend& trend, const QString& title);
    // The trend point drawn as `point` of `set`.
    std::optional<int> TrendPointOf(int set, int point) const;
    // The trend point whose read-out is shown, if any.
    std::optional<int> ReadOutPoint() const { return readOut_; }

Q_SIGNALS:
    void readOutChanged();

private:
    void ReadOutAt(QPoint pixel);
    void ClearReadOut();

    Trend trend_;
    QList<int> pointsOf_[2];  // trend point of each drawn point, per set
    std::optional<int> readOut_;
};

}  // namespace tolm::health
