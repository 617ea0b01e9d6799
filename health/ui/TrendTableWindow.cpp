#include "health/ui/TrendTableWindow.h"

#include <QHeaderView>
#include <QTableWidget>

#include "health/ui/HealthEvents.h"
#include "health/ui/TrendWindow.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm::health {

TrendTableWindow::TrendTableWindow() : ZafWindow(QStringLiteral("TrendTableWindow")) {
    setObjectName(kIdentifier);
    Get(QStringLiteral("B_CLOSE")).SetSendMessage(HealthEvent::Close);
}

TrendTableWindow* TrendTableWindow::Find() {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? qobject_cast<TrendTableWindow*>(windows->Get(kIdentifier)) : nullptr;
}

ZafEventType TrendTableWindow::Event(const ZafEventStruct& event) {
    if (event.type == HealthEvent::Close) {
        return ZafWindow::Event(ZafEventStruct(S_CLOSE, event.source, this));
    }
    return ZafWindow::Event(event);
}

void TrendTableWindow::Fill(TrendWindow& source, const Trend& trend, AxisBounds shown) {
    source_ = &source;
    auto* table = Get(QStringLiteral("E_TABLE")).as<QTableWidget>();
    if (!table) {
        return;
    }
    Get(QStringLiteral("P_TITLE")).SetText(source.Title());
    // The CSV export's lines: its heading and one line per point, in the same order.
    const QList<QByteArray> lines = trend.csv().split('\n');
    const QList<QByteArray> heading = lines.value(0).split(',');
    table->setUpdatesEnabled(false);
    table->clear();
    table->setColumnCount(int(heading.size()));
    QStringList titles;
    for (const QByteArray& h : heading) {
        titles.append(QString::fromLocal8Bit(h));
    }
    table->setHorizontalHeaderLabels(titles);
    rows_.clear();
    const QList<TrendPoint>& points = trend.points();
    for (int i = 0; i < points.size(); ++i) {
        if (points[i].x >= shown.lower && points[i].x <= shown.upper) {
            rows_.append(i);
        }
    }
    table->setRowCount(int(rows_.size()));
    for (int row = 0; row < rows_.size(); ++row) {
        const QList<QByteArray> cells = lines.value(rows_[row] + 1).split(',');
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromLatin1(cells[column]));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->setUpdatesEnabled(true);
}

void TrendTableWindow::Highlight(std::optional<int> point) {
    auto* table = Get(QStringLiteral("E_TABLE")).as<QTableWidget>();
    const int row = point ? int(rows_.indexOf(*point)) : -1;
    if (!table || row < 0) {
        return;
    }
    table->selectRow(row);
    table->scrollToItem(table->item(row, 0));
}

void TrendTableWindow::Close() {
    source_ = nullptr;
    ZafWindowManager* windows = zafWindowManager();
    if (windows && windows->Contains(this)) {
        windows->Event(ZafEventStruct(S_CLOSE, nullptr, this));
    }
}

}  // namespace tolm::health
