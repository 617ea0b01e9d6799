#include "health/ui/TrendTableWindow.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include "health/ui/HealthEvents.h"
#include "health/ui/TrendWindow.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"

namespace tolm::health {

// The rows as the CSV export's lines, split into cells only when the view draws them: ten
// thousand flights cost a few hundred kilobytes, not an item per cell.
class TrendTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Set(QList<QByteArray> heading, QList<QByteArray> lines) {
        beginResetModel();
        heading_ = std::move(heading);
        lines_ = std::move(lines);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(lines_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(heading_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return QVariant();
        }
        return QString::fromLatin1(lines_[index.row()].split(',').value(index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
            return QAbstractTableModel::headerData(section, orientation, role);
        }
        return QString::fromLocal8Bit(heading_.value(section));
    }

private:
    QList<QByteArray> heading_;
    QList<QByteArray> lines_;
};

TrendTableWindow::TrendTableWindow()
    : ZafWindow(QStringLiteral("TrendTableWindow")), model_(new TrendTableModel(this)) {
    setObjectName(kIdentifier);
    Get(QStringLiteral("B_CLOSE")).SetSendMessage(HealthEvent::Close);
    if (auto* table = Get(QStringLiteral("E_TABLE")).as<QTableView>()) {
        table->setModel(model_);
        table->horizontalHeader()->setResizeContentsPrecision(200);
    }
}

TrendTableWindow::~TrendTableWindow() = default;

QAbstractItemModel* TrendTableWindow::Model() const {
    return model_;
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
    Get(QStringLiteral("P_TITLE")).SetText(source.Title());
    // The CSV export's lines: its heading and one line per point, in the same order.
    const QList<QByteArray> lines = trend.csv().split('\n');
    rows_.clear();
    QList<QByteArray> listed;
    const QList<TrendPoint>& points = trend.points();
    for (int i = 0; i < points.size(); ++i) {
        if (points[i].x >= shown.lower && points[i].x <= shown.upper) {
            rows_.append(i);
            listed.append(lines.value(i + 1));
        }
    }
    model_->Set(lines.value(0).split(','), std::move(listed));
    if (auto* table = Get(QStringLiteral("E_TABLE")).as<QTableView>()) {
        table->resizeColumnsToContents();
    }
}

void TrendTableWindow::Highlight(std::optional<int> point) {
    auto* table = Get(QStringLiteral("E_TABLE")).as<QTableView>();
    const int row = point ? int(rows_.indexOf(*point)) : -1;
    if (!table || row < 0) {
        return;
    }
    table->selectRow(row);
    table->scrollTo(model_->index(row, 0));
}

void TrendTableWindow::Close() {
    source_ = nullptr;
    ZafWindowManager* windows = zafWindowManager();
    if (windows && windows->Contains(this)) {
        windows->Event(ZafEventStruct(S_CLOSE, nullptr, this));
    }
}

}  // namespace tolm::health
