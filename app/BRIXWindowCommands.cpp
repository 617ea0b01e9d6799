// The main window's event handler: hot keys first, then the command of each event number.
// A command that would use the link while another activity owns it is refused with a box.
#include <QFile>
#include <QFileInfo>

#include "app/AboutTolmDialog.h"
#include "app/BRIXWindow.h"
#include "app/ChangePassword.h"
#include "app/DataArchive.h"
#include "app/DocumentShell.h"
#include "app/FlightIndexNotes.h"
#include "app/Main.h"
#include "app/MainEvents.h"
#include "core/Config.h"
#include "core/PlatformPaths.h"
#include "download/ui/BRIXAutoDownload.h"
#include "health/ui/FleetStatusWindow.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/ClearDataPage.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "register/ui/RegisterEvents.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafWindowManager.h"
#include "viewer/ui/Plot2D.h"
#include "viewer/ui/ViewerEvents.h"

namespace tolm {

ZafEventType BRIXWindow::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (const ZafEventType mapped = hotKeys_.value(event.key, 0); mapped != 0) {
            return Event(ZafEventStruct(mapped, event.source, this));
        }
    }
    const ZafEventType code = LogicalEvent(event);
    if (code == S_CLOSE && link_.RefusedWhileBusy()) {
        // Exit is refused at once, also when it comes from a loop inside the activity that owns
        // the link (a dialog's), rather than taking effect when the activity ends.
        return 0;
    }
    if (isMainWindowCommand(code)) {
        return Dispatch(code, event);
    }
    return ZafWindow::Event(event);
}

namespace {

// The commands that send to the unit: never run while another activity owns the link (they
// may arrive from a loop that runs inside that activity, a modal dialog's, say).
bool usesLink(ZafEventType code) {
    switch (code) {
        case MainEvent::Download:
        case MainEvent::ClearMemory:
        case MaintenanceEvent::EraseProgress:
        case MaintenanceEvent::UploadMainSoftware:
        case MaintenanceEvent::UploadDspSoftware:
        case MaintenanceEvent::UploadConfigTable:
            return true;
        default:
            return false;
    }
}

}  // namespace

ZafEventType BRIXWindow::Dispatch(ZafEventType code, const ZafEventStruct& event) {
    if (usesLink(code) && link_.RefusedWhileBusy()) {
        return 0;
    }
    switch (code) {
        case MainEvent::ShowMainMenu:
            return ShowMainMenu();
        case MainEvent::Back:
            return Event(ZafEventStruct(MainEvent::ShowMainMenu, event.source, this));
        case MainEvent::Tick:
            statusBar_.ShowDate();
            return 0;
        case MainEvent::About:
            AboutTolmDialog::Run();
            return 0;
        case MainEvent::Download:
            return Download();
        case MainEvent::AircraftInfo:
            return AircraftInfo();
        case MainEvent::ClearMemory:
            return ClearMemory();
        case MainEvent::Utilities:
            return Utilities();
        case MaintenanceEvent::EraseProgress:
            return EraseMemory();
        case MaintenanceEvent::ApplyUtilities:
        case MaintenanceEvent::UtilitiesAircraftChosen:
        case MaintenanceEvent::ChooseMainSoftware:
        case MaintenanceEvent::UploadMainSoftware:
        case MaintenanceEvent::ChooseDspSoftware:
        case MaintenanceEvent::UploadDspSoftware:
        case MaintenanceEvent::ChooseConfigTable:
        case MaintenanceEvent::UploadConfigTable:
        case MaintenanceEvent::UploadTick:
        case MaintenanceEvent::UploadTimerDone:
            return UtilitiesEvent(code);
        case RegisterEvent::SaveAircraft:
            return aircraft_.SaveAircraftPage();
        case RegisterEvent::AircraftChosen:
            return aircraft_.AircraftChosen();
        case MainEvent::PrivilegeChange:
            return PrivilegeChange();
        case MainEvent::AddAircraft:
            return aircraft_.AddAircraft(normalFont_);
        case MainEvent::ImportAircraft:
            importDialog_.SetFilter(QStringLiteral("*.csv"));
            if (importDialog_.RunModal() != S_DIALOG_OK) {
                return 0;
            }
            return aircraft_.ImportAircraft(importDialog_.FileName(256));
        case MainEvent::AddEngineType:
            return aircraft_.AddEngineType(normalFont_);
        case MainEvent::RemoveAircraft:
            return aircraft_.RemoveAircraft(normalFont_);
        case MainEvent::RemoveEngineType:
            return aircraft_.RemoveEngineType(normalFont_);
        case MainEvent::InactivityRevert:
            privilegeMenu_.SelectFlightLine();
            return Event(ZafEventStruct(MainEvent::PrivilegeChange, event.source, this));
        case MainEvent::Plot: {
            // The viewer, a second top-level window; discarded when it has no flights to show.
            auto* plot = new viewer::Plot2D();
            if (!plot->HasFlights()) {
                delete plot;
                return 0;
            }
            plot->Center();
            zafWindowManager()->Add(plot);
            return plot->Event(ZafEventStruct(ViewerEvent::Open, nullptr, plot));
        }
        case RegisterEvent::EngineTypeChosen:
            return aircraft_.EngineTypeChosen(event);
        case MainEvent::Compress:
            ArchiveDataDirectory();
            return 0;
        case MainEvent::UserGuide:
            OpenDocument(executableDirectory() + QStringLiteral("/DOC-604-Rev3.pdf"));
            return 0;
        case MainEvent::ChangePassword:
            tolm::ChangePassword();
            return 0;
        case MainEvent::ReleaseNotes:
            OpenDocument(executableDirectory() + QStringLiteral("/releasenotes.pdf"));
            return 0;
        case MainEvent::FleetStatus:
            // At any privilege level: the page only reads.
            health::FleetStatusWindow::Open();
            return 0;
        default:
            return 0;
    }
}

ZafEventType BRIXWindow::Download() {
    // From the set-up to the end of the download dialog.
    const LinkOwner::Lease lease = link_.owner().acquire(LinkActivity::Download);
    if (!aircraft_.RequireAircraft()) {
        return 0;
    }
    if (!link_.EstablishUnitLink()) {
        return 0;
    }
    ShowHelpSection(QStringLiteral("Download"));
    privilegeMenu_.SetAircraftMenuEnabled(false);

    AircraftRecord aircraft;
    if (aircraft_.RunDownloadDialog(normalFont_, aircraft)) {
        RunDownloadSequence(aircraft);
    }

    privilegeMenu_.SetAircraftMenuEnabled(privilegeLevel() != kLevelFlightLine);
    ShowHelpSection(QStringLiteral("Main Window"));
    return 0;
}

ZafEventType BRIXWindow::RunDownloadSequence(const AircraftRecord& aircraft) {
    BRIXAutoDownload dialog(
        link_.context(), link_.partNumbers(), aircraft, normalFont_, midFont_, nullptr,
        [this] { return link_.Reconnect(); },
        [](const QStringList& rawFiles) { return filedSummary(dataDirectory(), rawFiles); });
    dialog.Center();
    const ZafEventType result = dialog.RunModal();
    const QString responseFile = link_.context().responseFileName();
    if (!responseFile.isEmpty()) {
        QFile::remove(responseFile);
    }
    return result;
}

ZafEventType BRIXWindow::AircraftInfo() {
    const auto showPage = [this](const QString& name, const QString& subtitle,
                                 const QString& help) { return ShowPage(name, subtitle, help); };
    if (aircraft_.OpenAircraftPage(showPage)) {
        const QMap<int, ZafEventType> keys =
            TolmAircraftCommands::PageHotKeys(MainEvent::ShowMainMenu);
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            SetHotKey(it.key(), it.value());
        }
        ShowHelpSection(QStringLiteral("Aircraft Information"));
    }
    return 0;
}

ZafEventType BRIXWindow::ClearMemory() {
    privilegeMenu_.SetAircraftMenuEnabled(false);
    ZafWindow* page = ShowPage(QStringLiteral("ClearData"), QStringLiteral("Clear Memory"),
                               QStringLiteral("HelpClearData"));
    prepareClearDataPage(page, normalFont_, MainEvent::ShowMainMenu);
    hotKeys_ = clearDataHotKeys(MainEvent::ShowMainMenu);
    ShowHelpSection(QStringLiteral("Clear Memory"));
    return 0;
}

ZafEventType BRIXWindow::EraseMemory() {
    if (!page_ || page_->objectName() != QLatin1String("ClearData")) {
        return 0;
    }
    const LinkOwner::Lease lease = link_.owner().acquire(LinkActivity::Erase);
    // No connection check first: the erases go to the link as it is, which is set up again
    // when it cannot take them.
    BRIXEraseProgress::Run(link_.context(), clearDataSelections(page_), normalFont_, midFont_,
                           [this] { return link_.Reconnect(); });
    return 0;
}

ZafEventType BRIXWindow::Utilities() {
    if (privilegeLevel() != kLevelAdministrator) {
        return 0;
    }
    privilegeMenu_.SetAircraftMenuEnabled(false);
    ZafWindow* page = ShowPage(QStringLiteral("Utilities"), QStringLiteral("Utilities"),
                               QStringLiteral("HelpUtilities"));
    utilities_->Show(page);
    const QMap<int, ZafEventType> keys = BRIXUtilitiesPage::HotKeys(MainEvent::ShowMainMenu);
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        SetHotKey(it.key(), it.value());
    }
    ShowHelpSection(QStringLiteral("Utilities"));
    return 0;
}

ZafEventType BRIXWindow::UtilitiesEvent(ZafEventType code) {
    switch (code) {
        case MaintenanceEvent::ApplyUtilities:
            return utilities_->Apply();
        case MaintenanceEvent::UtilitiesAircraftChosen:
            return utilities_->AircraftChosen();
        default:
            return utilities_->Firmware().Event(code);
    }
}

ZafEventType BRIXWindow::PrivilegeChange() {
    const int old = privilegeLevel();
    const int level = privilegeMenu_.ChooseLevel(old, normalFont_, tolmResourceReader());
    privilegeMenu_.SetAircraftMenuEnabled(level != kLevelFlightLine);
    if (level == old) {
        return 0;
    }
    setPrivilegeLevel(level);
    statusBar_.ShowPrivilege(level);
    return Event(ZafEventStruct(MainEvent::ShowMainMenu, nullptr, this));
}

void BRIXWindow::OpenDocument(const QString& path) {
    QString failure;
    if (!QFileInfo::exists(path)) {
        failure = QStringLiteral("File not found: %1").arg(path);
    } else if (!documentShell().open(path, this)) {
        failure = QStringLiteral("Failed to open '%1'").arg(path);
    }
    if (!failure.isEmpty()) {
        showWarning(QStringLiteral("Error"), failure);
    }
}

void BRIXWindow::ArchiveDataDirectory() {
    DataArchive(executableDirectory()).Run();
}

}  // namespace tolm
