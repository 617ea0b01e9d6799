#pragma once
// The trend's tabulation: the points of the trend window's chart that lie in the x range shown,
// in the columns of the trend's CSV export, drawn from its lines as the table scrolls. At most one
// exists; it follows the trend window's zoom and highlights the point read out.
#include <QList>
#include <QPointer>
#include <optional>

#include "health/Trend.h"
#include "toolkit/ZafWindow.h"
#include "viewer/ui/ChartScale.h"

class QAbstractItemModel;

namespace tolm::health {

class TrendTableModel;
class TrendWindow;

class TrendTableWindow : public ZafWindow {
    Q_OBJECT
public:
    static inline const QString kIdentifier = QStringLiteral("TrendTableWindow");

    TrendTableWindow();
    ~TrendTableWindow() override;
    static TrendTableWindow* Find();

    ZafEventType Event(const ZafEventStruct& event) override;

    void Fill(TrendWindow& source, const Trend& trend, AxisBounds shown);
    // Selects the row of that trend point, if it is listed.
    void Highlight(std::optional<int> point);
    void Close();

    TrendWindow* Source() const { return source_; }
    // The trend point of each row, and the rows' cells as the table shows them.
    const QList<int>& Rows() const { return rows_; }
    QAbstractItemModel* Model() const;

private:
    QPointer<TrendWindow> source_;
    TrendTableModel* model_;
    QList<int> rows_;
};

}  // namespace tolm::health
