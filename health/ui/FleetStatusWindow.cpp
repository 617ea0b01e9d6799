#include "health/ui/FleetStatusWindow.h"

#include <QHeaderView>
#include <QSpinBox>
#include <QTableWidget>

#include "core/Config.h"
#include "health/FlightIndex.h"
#include "health/ui/BusyScope.h"
#include "health/ui/HealthChoices.h"
#include "health/ui/HealthEvents.h"
#include "health/ui/HealthUiLog.h"
#include "health/ui/TrendWindow.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/CFormat.h"

namespace tolm::health {

namespace {

enum Column {
    kAircraft,
    kEngine,
    kSer,
    kLastDownload,
    kFlights,
    kLatest,
    kCurrent,
    kHistoric,
    kChange,
    kColumns
};

QStringList cellsOf(const EngineStatus& e) {
    QStringList c(kColumns);
    c[kAircraft] = e.aircraft;
    c[kEngine] = QString::number(e.engineNumber);
    c[kSer] = e.ser;
    c[kLastDownload] = e.lastDownload ? Trend::dateText(*e.lastDownload) : QStringLiteral("-");
    c[kFlights] = QString::number(e.flightsOnFile);
    c[kLatest] = e.latest ? QString::number(e.latest->flightNumber) : QStringLiteral("-");
    c[kCurrent] = e.latest ? AlarmLevels::currentText(e.currentLevel()) : QStringLiteral("-");
    c[kHistoric] = e.latest ? AlarmLevels::historicText(e.historicLevel()) : QStringLiteral("-");
    c[kChange] =
        e.change ? QString::fromLatin1(viewer::cFormat("%+.5g", *e.change)) : QStringLiteral("-");
    return c;
}

}  // namespace

FleetStatusWindow::FleetStatusWindow()
    : ZafWindow(QStringLiteral("FleetStatusWindow")),
      parameterChoice_(Get(QStringLiteral("E_PARAMETER"))),
      recordChoice_(Get(QStringLiteral("E_RECORD"))),
      lastFlights_(Get(QStringLiteral("E_LAST_FLIGHTS"))),
      statusLine_(Get(QStringLiteral("P_STATUS"))) {
    setObjectName(kIdentifier);
    HealthChoices::fillParameters(parameterChoice_, request_.parameter, HealthEvent::StatusChoice);
    HealthChoices::fillRecords(recordChoice_, request_.record, HealthEvent::StatusChoice);
    if (auto* spin = lastFlights_.as<QSpinBox>()) {
        spin->setValue(request_.lastFlights);
        connect(spin, &QSpinBox::valueChanged, this, [this] {
            Event(ZafEventStruct(HealthEvent::StatusChoice, lastFlights_.object(), this));
        });
    }
    Get(QStringLiteral("B_REFRESH")).SetSendMessage(HealthEvent::Refresh);
    Get(QStringLiteral("B_CLOSE")).SetSendMessage(HealthEvent::Close);
    if (QTableWidget* table = Table()) {
        connect(table, &QTableWidget::cellDoubleClicked, this, [this, table](int row) {
            table->setCurrentCell(row, 0);
            // The analyzer loses `this` inside Qt's slot object; the connection ends with it.
            Event(ZafEventStruct(HealthEvent::OpenTrend, table, this));  // NOLINT
        });
    }
}

FleetStatusWindow::~FleetStatusWindow() = default;

FleetStatusWindow* FleetStatusWindow::Find() {
    ZafWindowManager* windows = zafWindowManager();
    return windows ? qobject_cast<FleetStatusWindow*>(windows->Get(kIdentifier)) : nullptr;
}

FleetStatusWindow* FleetStatusWindow::Open() {
    FleetStatusWindow* window = Find();
    if (!window) {
        window = new FleetStatusWindow;
        window->Center();
    }
    zafWindowManager()->Add(window);
    window->Refresh(true);
    return window;
}

QTableWidget* FleetStatusWindow::Table() const {
    return Get(QStringLiteral("E_STATUS")).as<QTableWidget>();
}

void FleetStatusWindow::ReadChoices() {
    request_.parameter = HealthChoices::parameterAt(parameterChoice_.SelectedItem());
    request_.record = HealthChoices::recordAt(recordChoice_.SelectedItem());
    if (auto* spin = lastFlights_.as<QSpinBox>()) {
        request_.lastFlights = spin->value();
    }
}

void FleetStatusWindow::Refresh(bool rescan) {
    {
        BusyScope busy(statusLine_);
        if (!index_) {
            index_ = std::make_unique<FlightIndex>(dataDirectory());
        } else if (rescan) {
            if (const auto scan = index_->scan(); !scan.ok()) {
                qCWarning(lcHealthUi).noquote() << "no fresh scan:" << scan.error();
            }
        }
        IndexResult<FleetStatus> status =
            FleetStatus::fromIndex(*index_, FleetStatus::registeredAircraft(), request_);
        if (!status.ok()) {
            qCWarning(lcHealthUi).noquote() << "no fleet status:" << status.error();
            statusLine_.SetText(QString());
            showCritical(kTitle, kIndexFailed.arg(status.error()), this);
            return;
        }
        status_ = std::move(status).value();
    }
    List();
}

void FleetStatusWindow::List() {
    QTableWidget* table = Table();
    if (!table) {
        return;
    }
    const QList<EngineStatus>& engines = status_.engines();
    table->setUpdatesEnabled(false);
    table->setRowCount(int(engines.size()));
    if (QTableWidgetItem* change = table->horizontalHeaderItem(kChange)) {
        change->setText(QStringLiteral("Change over %1 flights").arg(request_.lastFlights));
    }
    for (int row = 0; row < engines.size(); ++row) {
        const QStringList cells = cellsOf(engines[row]);
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (column >= kFlights && column != kCurrent && column != kHistoric) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->setUpdatesEnabled(true);
    statusLine_.SetText(QStringLiteral("%1 engines, worst first; %2")
                            .arg(engines.size())
                            .arg(status_.changeTitle()));
}

void FleetStatusWindow::OpenTrend(int row) {
    if (row < 0 || row >= status_.engines().size()) {
        return;
    }
    const EngineStatus& e = status_.engines()[row];
    TrendWindow::Open(e.aircraft, e.engineNumber);
}

ZafEventType FleetStatusWindow::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case HealthEvent::StatusChoice:
            ReadChoices();
            Refresh();
            return 0;
        case HealthEvent::Refresh:
            Refresh(true);
            return 0;
        case HealthEvent::OpenTrend:
            if (QTableWidget* table = Table()) {
                OpenTrend(table->currentRow());
            }
            return 0;
        case HealthEvent::Close:
            return ZafWindow::Event(ZafEventStruct(S_CLOSE, event.source, this));
        default:
            return ZafWindow::Event(event);
    }
}

}  // namespace tolm::health
