// The main window's event handler: hot keys first, then the command of each event number.
// Commands whose subsystems are not in this build yet do nothing and return 0; each has its
// place below.
#include <QFileInfo>

#include "app/AboutTolmDialog.h"
#include "app/BRIXWindow.h"
#include "app/ChangePassword.h"
#include "app/DataArchive.h"
#include "app/DocumentShell.h"
#include "app/Main.h"
#include "app/PageCommands.h"
#include "app/config/Config.h"
#include "app/config/PlatformPaths.h"
#include "register/TolmAircraftSettings.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

void warnNone(const char* text) {
    showWarning(QLatin1String(kProductTitle), QLatin1String(text));
}

}  // namespace

ZafEventType BRIXWindow::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (const ZafEventType mapped = hotKeys_.value(event.key, 0); mapped != 0) {
            return Event(ZafEventStruct(mapped, event.source, this));
        }
    }
    const ZafEventType code = LogicalEvent(event);
    // 10021 and 10022 belong to the toolkit.
    if (code >= MainEvent::ShowMainMenu && code <= MainEvent::ReleaseNotes && code != 10021 &&
        code != 10022) {
        return Dispatch(code, event);
    }
    return ZafWindow::Event(event);
}

ZafEventType BRIXWindow::Dispatch(ZafEventType code, const ZafEventStruct& event) {
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
            // Memory erase: disable the aircraft menu and open the "ClearData" page
            // (ShowPage("ClearData", "Clear Memory", "HelpClearData")).
            return 0;
        case MainEvent::Utilities:
            return Utilities();
        case MainEvent::EraseProgress:
            // Memory erase: the erase progress dialog of the "ClearData" page's choices.
            return 0;
        case MainEvent::ToggleChoice:
            ToggleChoiceGroup(page_);
            return 0;
        case MainEvent::SaveAircraft:
        case MainEvent::AircraftChosen:
            // Aircraft page: save, and another aircraft chosen (TolmAircraftCommands).
            return 0;
        case MainEvent::PrivilegeChange:
            return PrivilegeChange();
        case MainEvent::AddAircraft:
        case MainEvent::ImportAircraft:
        case MainEvent::AddEngineType:
            // Register management (TolmAircraftCommands): add aircraft; import, after
            // ImportDialog() with the filter "*.csv" (cancel: nothing; the path cut to 256
            // characters); add engine type.
            return 0;
        case MainEvent::RemoveAircraft:
            return RemoveAircraft();
        case MainEvent::RemoveEngineType:
            return RemoveEngineType();
        case MainEvent::InactivityRevert:
            privilegeMenu_.SelectFlightLine();
            return Event(ZafEventStruct(MainEvent::PrivilegeChange, event.source, this));
        case MainEvent::Plot:
            // Viewer: the Plot2D window (wait cursor while it is built; discarded when it has
            // no flights to show).
            return 0;
        case MainEvent::EngineTypeChosen:
            CopyEngineType(event.source, page_);
            return 0;
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
        default:
            // 10018, 10019, 10024-10030, 10032: the Utilities page and its upload timer
            // (handed to the Utilities page handler with the event).
            return 0;
    }
}

ZafEventType BRIXWindow::Download() {
    if (TolmAircraftSettings().countAircraft() == 0) {
        warnNone("No aircraft found");
        return 0;
    }
    if (!EstablishUnitLink()) {
        return 0;
    }
    ShowHelpSection(QStringLiteral("Download"));
    privilegeMenu_.SetAircraftMenuEnabled(false);

    // The aircraft information dialog (title " TOLM for QUOR  - Download", a fresh
    // AircraftRecord) runs here; when it ends with S_DIALOG_OK, BRIXAutoDownload runs with the
    // LinkContext, the part numbers and that record, and the response file named in the
    // LinkContext is deleted afterwards.

    privilegeMenu_.SetAircraftMenuEnabled(privilegeLevel() != kLevelFlightLine);
    ShowHelpSection(QStringLiteral("Main Window"));
    return 0;
}

ZafEventType BRIXWindow::AircraftInfo() {
    if (TolmAircraftSettings().countAircraft() == 0) {
        warnNone("No aircraft found");
        return 0;
    }
    // Aircraft page: ShowPage("AircraftInfo", "Aircraft Information", "HelpAircraftInfo"),
    // filled by the register's page (TolmAircraftCommands::OpenAircraftPage and its hot keys).
    return 0;
}

ZafEventType BRIXWindow::Utilities() {
    if (privilegeLevel() != kLevelAdministrator) {
        return 0;
    }
    // Utilities: disable the aircraft menu and open the "Utilities" page
    // (ShowPage("Utilities", "Utilities", "HelpUtilities")) on RememberedUtilitiesPage().
    return 0;
}

ZafEventType BRIXWindow::RemoveAircraft() {
    if (TolmAircraftSettings().countAircraft() == 0) {
        warnNone("No aircraft found");
        return 0;
    }
    // Register management: the remove-aircraft dialog.
    return 0;
}

ZafEventType BRIXWindow::RemoveEngineType() {
    if (TolmAircraftSettings().countEngineTypes() == 0) {
        warnNone("No engine found");
        return 0;
    }
    // Register management: the remove-engine-type dialog.
    return 0;
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
