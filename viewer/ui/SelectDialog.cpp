#include "viewer/ui/SelectDialog.h"

#include "core/Config.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "viewer/DataDirectoryScan.h"
#include "viewer/ui/EngineTrendOpener.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm::viewer {

namespace {

// The position of the first selected item of a group of choices; -1 when none is.
int chosenItem(const ZafObject& group) {
    for (int i = 0; i < group.Count(); ++i) {
        if (group.Child(i).Selected()) {
            return i;
        }
    }
    return -1;
}

FlightNotesSource& notesSource() {
    static FlightNotesSource source;
    return source;
}

void wireItems(ZafObject group, ZafEventType event) {
    for (int i = 0; i < group.Count(); ++i) {
        group.Child(i).SetSendMessage(event);
    }
}

}  // namespace

void SelectDialog::setNotesSource(FlightNotesSource source) {
    notesSource() = std::move(source);
}

SelectDialog::SelectDialog(QList<FlightDataElement>& output)
    : ZafDialogWindow(QStringLiteral("SelectDialog")),
      selection_(FlightSelection::fromSettings(ScanDataDirectory())),
      register_(RegisteredAircraft::load()),
      output_(output),
      tailNumber_(Get(QStringLiteral("TAIL_NUMBER"))),
      engine_(Get(QStringLiteral("G_ENGINE"))),
      memoryType_(Get(QStringLiteral("G_MEMORY_TYPE"))),
      flightList_(Get(QStringLiteral("FLIGHT_LIST"))),
      showCopies_(Get(QStringLiteral("SHOW_COPIES"))) {
    if (selection_.hasFlights() && notesSource()) {
        selection_.setNotes(notesSource()());
    }
    showCopies_.SetSendMessage(ViewerEvent::ShowCopies);
    Get(QStringLiteral("B_OK")).SetSendMessage(S_DIALOG_OK);
    Get(QStringLiteral("B_CANCEL")).SetSendMessage(S_CLOSE);
    ZafObject trend = Get(QStringLiteral("B_TREND"));
    trend.SetSendMessage(ViewerEvent::Trend);
    trend.SetVisible(bool(engineTrendOpener()));

    wireItems(engine_, ViewerEvent::EngineOrMemory);
    engine_.Child(0).SetSelected(true);
    wireItems(memoryType_, ViewerEvent::EngineOrMemory);
    memoryType_.Child(selection_.memoryType()).SetSelected(true);

    for (const QString& aircraft : selection_.aircraft()) {
        tailNumber_.AddItem(aircraft, ViewerEvent::AircraftChosen);
    }
    if (selection_.hasFlights()) {
        tailNumber_.SetItemSelected(selection_.aircraftIndex());
        AircraftChanged();
    }
}

QList<FlightListElement> SelectDialog::ScanDataDirectory() {
    ZafEventManager* events = zafEventManager();
    if (events) {
        events->SetMouseState(DM_WAIT);
    }
    const ScanResult scan = DataDirectoryScan::scan(dataDirectory());
    if (events) {
        events->SetMouseState(DM_VIEW);
    }
    for (const ReadError& error : scan.errors) {
        showCritical(error.title(), error.text());
    }
    if (scan.showIncompatibleWarning()) {
        showWarning(ScanResult::kIncompatibleTitle, ScanResult::kIncompatibleText);
    }
    return scan.flights;
}

ZafEventType SelectDialog::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (event.key == VK::F5 || event.key == VK::Return) {
            return Accept();
        }
        if (event.key == VK::F8 || event.key == VK::Escape) {
            return S_CLOSE;
        }
    }
    switch (event.type) {
        case S_DIALOG_OK:
            return Accept();
        case ViewerEvent::AircraftChosen:
            AircraftChanged();
            return S_CONTINUE;
        case ViewerEvent::EngineOrMemory:
            EngineOrMemoryChanged();
            return S_CONTINUE;
        case ViewerEvent::Trend:
            // The selection gives way to the trend of the engine chosen.
            if (engineTrendOpener() && !selection_.currentAircraft().isEmpty()) {
                engineTrendOpener()(selection_.currentAircraft(), selection_.engine());
                return S_CLOSE;
            }
            return S_CONTINUE;
        case ViewerEvent::ShowCopies:
            selection_.setShowCopies(showCopies_.Selected());
            FillFlightList();
            return S_CONTINUE;
        default:
            return ZafDialogWindow::Event(event);
    }
}

void SelectDialog::AircraftChanged() {
    selection_.setAircraft(tailNumber_.SelectedItem());
    ShowAircraftInfo();
    FillFlightList();
}

void SelectDialog::EngineOrMemoryChanged() {
    selection_.setEngine(1 + std::max(0, chosenItem(engine_)));
    if (const int memory = chosenItem(memoryType_);
        memory >= 0 && memory != selection_.memoryType()) {
        selection_.setMemoryType(memory);
    }
    FillFlightList();
}

void SelectDialog::ShowAircraftInfo() {
    const auto engines = register_.engines(selection_.currentAircraft());
    for (int i = 0; i < 2; ++i) {
        const QString group = QStringLiteral("G_ENGINE%1~").arg(i + 1);
        Get(group + QStringLiteral("TYPE")).SetText(engines[i].type);
        Get(group + QStringLiteral("SN")).SetText(engines[i].serial);
        Get(group + QStringLiteral("INSTALL_DATE")).SetText(engines[i].installDate);
    }
}

void SelectDialog::FillFlightList() {
    flightList_.ClearItems();
    for (const FlightItem& item : selection_.items()) {
        flightList_.AddItem(item.text);
    }
}

ZafEventType SelectDialog::Accept() {
    QList<int> rows;
    for (int i = 0; i < flightList_.ItemCount(); ++i) {
        if (flightList_.ItemSelected(i)) {
            rows.append(i);
        }
    }
    AcceptResult result = selection_.accept(rows);
    if (!result.accepted) {
        showCritical(FlightSelection::kTooManyTitle, FlightSelection::tooManyText(), this);
        return S_CONTINUE;
    }
    for (const ReadError& error : result.errors) {
        showCritical(error.title(), error.text(), this);
    }
    output_.append(std::move(result.flights));
    return S_DIALOG_OK;
}

}  // namespace tolm::viewer
