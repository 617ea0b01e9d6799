#include "health/ui/TrendWindow.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include "core/Config.h"
#include "health/FlightIndex.h"
#include "health/ui/BusyScope.h"
#include "health/ui/HealthEvents.h"
#include "health/ui/HealthUiLog.h"
#include "health/ui/LeftOutFilesWindow.h"
#include "health/ui/TrendChart.h"
#include "health/ui/TrendTableWindow.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ExportFile.h"
#include "viewer/ui/ChartOutput.h"

namespace tolm::health {

namespace {

QString withCsvSuffix(const QString& name) {
    return QFileInfo(name).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0
               ? name
               : name + QStringLiteral(".csv");
}

QString leftOutButtonText(qsizetype count) {
    return count == 0 ? QStringLiteral("Left-out Files...")
                      : QStringLiteral("Left-out Files (%1)...").arg(count);
}

}  // namespace

TrendWindow::TrendWindow(const QString& aircraft, int engineNumber)
    : ZafWindow(QStringLiteral("TrendWindow")),
      engines_(HealthChoices::engines()),
      engineChoice_(Get(QStringLiteral("E_ENGINE"))),
      parameterChoice_(Get(QStringLiteral("E_PARAMETER"))),
      recordChoice_(Get(QStringLiteral("E_RECORD"))),
      xChoice_(Get(QStringLiteral("E_X"))),
      status_(Get(QStringLiteral("P_STATUS"))) {
    setObjectName(kIdentifier);
    for (int i = 0; i < engines_.size(); ++i) {
        engineChoice_.AddItem(engines_[i].label(), HealthEvent::TrendChoice);
        if (engines_[i].aircraft == aircraft && engines_[i].engineNumber == engineNumber) {
            engine_ = i;
        }
    }
    if (engine_ < 0 && !engines_.isEmpty()) {
        engine_ = 0;
    }
    if (engine_ >= 0) {
        engineChoice_.SetItemSelected(engine_);
    }
    HealthChoices::fillParameters(parameterChoice_, request_.parameter, HealthEvent::TrendChoice);
    HealthChoices::fillRecords(recordChoice_, request_.record, HealthEvent::TrendChoice);
    xChoice_.AddItem(QStringLiteral("Flight number"), HealthEvent::TrendChoice);
    xChoice_.AddItem(QStringLiteral("Download date"), HealthEvent::TrendChoice);
    xChoice_.SetItemSelected(0);

    const struct {
        const char* button;
        ZafEventType event;
    } buttons[] = {
        {"B_RESET_ZOOM", HealthEvent::ResetZoom}, {"B_TABULATE", HealthEvent::Tabulate},
        {"B_EXPORT", HealthEvent::ExportCsv},     {"B_SAVE_IMAGE", HealthEvent::SaveImage},
        {"B_PRINT", HealthEvent::Print},          {"B_LEFT_OUT", HealthEvent::LeftOutFiles},
        {"B_CLOSE", HealthEvent::Close},
    };
    for (const auto& b : buttons) {
        Get(QLatin1String(b.button)).SetSendMessage(b.event);
    }
    chart_ = new TrendChart(Get(QStringLiteral("TrendChart")).widget());
    connect(chart_, &Xrt2dPlot::zoomChanged, this, &TrendWindow::RefreshTabulation);
    connect(chart_, &TrendChart::readOutChanged, this, [this] {
        if (TrendTableWindow* table = TrendTableWindow::Find(); table && table->Source() == this) {
            // chart_ lives as long as this window, which the connection cannot outlive.
            // NOLINTNEXTLINE(clang-analyzer-core.NullDereference)
            table->Highlight(chart_->ReadOutPoint());
        }
    });
}

TrendWindow::~TrendWindow() {
    if (TrendTableWindow* table = TrendTableWindow::Find(); table && table->Source() == this) {
        table->Close();
    }
}

TrendWindow* TrendWindow::Open(const QString& aircraft, int engineNumber) {
    auto* window = new TrendWindow(aircraft, engineNumber);
    window->Center();
    zafWindowManager()->Add(window);
    window->Refresh();
    return window;
}

const RegisteredEngine* TrendWindow::Engine() const {
    return engine_ >= 0 && engine_ < engines_.size() ? &engines_[engine_] : nullptr;
}

void TrendWindow::ReadChoices() {
    engine_ = engineChoice_.SelectedItem();
    request_.parameter = HealthChoices::parameterAt(parameterChoice_.SelectedItem());
    request_.record = HealthChoices::recordAt(recordChoice_.SelectedItem());
    request_.x = xChoice_.SelectedItem() == 1 ? TrendX::DownloadDate : TrendX::FlightNumber;
}

void TrendWindow::Refresh() {
    const RegisteredEngine* engine = Engine();
    if (!engine) {
        status_.SetText(kNoEngine);
        return;
    }
    request_.serial = engine->serial;
    QElapsedTimer took;
    took.start();
    {
        BusyScope busy(status_);
        if (!index_) {
            index_ = std::make_unique<FlightIndex>(dataDirectory());
        }
        IndexResult<Trend> trend = Trend::fromIndex(*index_, request_);
        if (!trend.ok()) {
            qCWarning(lcHealthUi).noquote() << "no trend:" << trend.error();
            status_.SetText(QString());
            showCritical(kIndexTitle, kIndexFailed.arg(trend.error()), this);
            return;
        }
        trend_ = std::move(trend).value();
        IndexResult<QList<SkippedFile>> skipped = index_->skippedFiles();
        leftOut_ = skipped.ok() ? skipped.value() : QList<SkippedFile>();
    }
    qCDebug(lcHealthUi) << "trend of" << trend_.points().size() << "flights in" << took.elapsed()
                        << "ms";
    const qsizetype alarmed = std::count_if(trend_.points().begin(), trend_.points().end(),
                                            [](const TrendPoint& p) { return p.alarm != 0; });
    status_.SetText(QStringLiteral("%1 flights, %2 with a current alarm level")
                        .arg(trend_.points().size())
                        .arg(alarmed));
    ZafObject leftOut = Get(QStringLiteral("B_LEFT_OUT"));
    leftOut.SetText(leftOutButtonText(leftOut_.size()));
    leftOut.SetDisabled(leftOut_.isEmpty());
    SetTitle(QStringLiteral("Engine Trend - %1").arg(engine->label()));
    chart_->Draw(trend_, engine->label());
    RefreshTabulation();
}

ZafEventType TrendWindow::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case HealthEvent::TrendChoice:
            ReadChoices();
            Refresh();
            return 0;
        case HealthEvent::ResetZoom:
            chart_->ResetZoom();
            return 0;
        case HealthEvent::Tabulate:
            Tabulate();
            return 0;
        case HealthEvent::ExportCsv:
            ExportCsv();
            return 0;
        case HealthEvent::SaveImage:
            viewer::ChartOutput::saveImage(*chart_, dataDirectory(), this);
            return 0;
        case HealthEvent::Print:
            viewer::ChartOutput::print(*chart_, this);
            return 0;
        case HealthEvent::LeftOutFiles:
            ShowLeftOut();
            return 0;
        case HealthEvent::Close:
            return ZafWindow::Event(ZafEventStruct(S_CLOSE, event.source, this));
        default:
            return ZafWindow::Event(event);
    }
}

void TrendWindow::ExportCsv() {
    // The export replaces an existing file without a question, as the trend is derived data.
    const QString chosen = chooseSaveFileName(kCsvTitle, dataDirectory(), kCsvFilter, this);
    if (chosen.isEmpty()) {
        return;
    }
    if (!viewer::ExportFile::write(withCsvSuffix(chosen), trend_.csv())) {
        showCritical(kCsvTitle, kCsvFailed, this);
    }
}

void TrendWindow::Tabulate() {
    TrendTableWindow* table = TrendTableWindow::Find();
    if (!table) {
        table = new TrendTableWindow;
        zafWindowManager()->Add(table);
    }
    table->raise();
    table->activateWindow();
    table->Fill(*this, trend_, chart_->ShownXRange());
    table->Highlight(chart_->ReadOutPoint());
}

void TrendWindow::RefreshTabulation() {
    if (TrendTableWindow* table = TrendTableWindow::Find(); table && table->Source() == this) {
        table->Fill(*this, trend_, chart_->ShownXRange());
    }
}

void TrendWindow::ShowLeftOut() {
    LeftOutFilesWindow* window = LeftOutFilesWindow::Find();
    if (!window) {
        window = new LeftOutFilesWindow;
        zafWindowManager()->Add(window);
    }
    window->raise();
    window->activateWindow();
    window->Fill(leftOut_);
}

}  // namespace tolm::health
