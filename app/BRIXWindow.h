#pragma once
// The program's main window: pull-down menu, tool bar with the Back/Exit button, status bar, and
// an info area that shows one page at a time (title page, main menu, or the page of a command).
// Every command arrives at its handler as a numbered event. The window owns the unit link.
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

#include "app/PrivilegeMenu.h"
#include "app/StatusBar.h"
#include "link/ui/UnitLink.h"
#include "register/TolmAircraftCommands.h"
#include "toolkit/ZafFileDialog.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

// Events of the main window and its pages.
namespace MainEvent {
inline constexpr ZafEventType ShowMainMenu = 10000;
inline constexpr ZafEventType Back = 10001;
inline constexpr ZafEventType Tick = 10002;
inline constexpr ZafEventType About = 10003;
inline constexpr ZafEventType Download = 10004;
inline constexpr ZafEventType AircraftInfo = 10005;
inline constexpr ZafEventType ClearMemory = 10006;
inline constexpr ZafEventType Utilities = 10007;
inline constexpr ZafEventType EraseProgress = 10008;
inline constexpr ZafEventType ToggleChoice = 10009;
inline constexpr ZafEventType SaveAircraft = 10010;
inline constexpr ZafEventType PrivilegeChange = 10011;
inline constexpr ZafEventType AddAircraft = 10012;
inline constexpr ZafEventType RemoveAircraft = 10013;
inline constexpr ZafEventType ImportAircraft = 10014;
inline constexpr ZafEventType AddEngineType = 10015;
inline constexpr ZafEventType RemoveEngineType = 10016;
inline constexpr ZafEventType AircraftChosen = 10017;
inline constexpr ZafEventType ApplyUtilities = 10018;
inline constexpr ZafEventType UtilitiesAircraftChosen = 10019;
inline constexpr ZafEventType InactivityRevert = 10020;
inline constexpr ZafEventType Plot = 10023;
inline constexpr ZafEventType ChooseMainSoftware = 10024;
inline constexpr ZafEventType UploadMainSoftware = 10025;
inline constexpr ZafEventType ChooseDspSoftware = 10026;
inline constexpr ZafEventType UploadDspSoftware = 10027;
inline constexpr ZafEventType ChooseConfigTable = 10028;
inline constexpr ZafEventType UploadConfigTable = 10029;
inline constexpr ZafEventType UploadTick = 10030;
inline constexpr ZafEventType EngineTypeChosen = 10031;
inline constexpr ZafEventType UploadTimerDone = 10032;
inline constexpr ZafEventType Compress = 10033;
inline constexpr ZafEventType UserGuide = 10034;
inline constexpr ZafEventType ChangePassword = 10035;
inline constexpr ZafEventType ReleaseNotes = 10036;
}  // namespace MainEvent

class BRIXWindow : public ZafWindow {
    Q_OBJECT
public:
    // Takes the command line from the toolkit application.
    BRIXWindow();
    // arguments: the words after the program name.
    explicit BRIXWindow(const QStringList& arguments);
    ~BRIXWindow() override;

    ZafEventType Event(const ZafEventStruct& event) override;

    // Replaces the current page with the window of that name, already shown in the info area,
    // and gives it the Back button and Esc; the caller fills the page and adds its hot keys.
    ZafWindow* ShowPage(const QString& windowName, const QString& subtitle,
                        const QString& helpContext);
    // " TOLM for QUOR ", or " TOLM for QUOR  - <subtitle>".
    void SetPageTitle(const QString& subtitle = QString());
    // Shows the settings' help text of that section in the current page's "TextArea".
    void ShowHelpSection(const QString& section);
    // Opens a document with the system's viewer; a missing file or a failed viewer is reported.
    void OpenDocument(const QString& path);
    // File > compress.
    void ArchiveDataDirectory();
    // Connects to the unit if needed and reads its part numbers (status bar and link flags).
    // False at once while a set-up is already running.
    bool EstablishUnitLink();

    ZafWindow* CurrentPage() const { return page_; }
    // A hot key of the current page: key down of that virtual-key code sends the event.
    void SetHotKey(int virtualKey, ZafEventType event);
    ZafEventType HotKey(int virtualKey) const { return hotKeys_.value(virtualKey, 0); }
    // The aircraft-information menu (closed at Flight Line level and while a download, erase
    // or Utilities page runs).
    void SetAircraftMenuEnabled(bool enabled) { privilegeMenu_.SetAircraftMenuEnabled(enabled); }

    UnitLink& unitLink() { return link_; }
    StatusBar& statusBar() { return statusBar_; }
    // Started with "-s": the main menu's Download and Clear Memory ignore the link state.
    bool Unrestricted() const { return unrestricted_; }

    // The fonts registered at start.
    int NormalFont() const { return normalFont_; }
    int SmallFont() const { return smallFont_; }
    int MidFont() const { return midFont_; }
    ZafTimer* DateTimer() const { return timer_.get(); }

    // The file dialogs of the aircraft import and of the uploads (software; configuration
    // table), and the upload paths chosen during the run.
    ZafFileDialog& ImportDialog() { return importDialog_; }
    ZafFileDialog& SoftwareDialog() { return softwareDialog_; }
    ZafFileDialog& ConfigTableDialog() { return configDialog_; }
    std::array<QString, 6>& UploadPaths() { return uploadPaths_; }
    // The notebook page the Utilities page had when it was last closed.
    int RememberedUtilitiesPage() const { return utilitiesPage_; }

    // The wait before the link is set up at start (2 s; tests make it 0).
    static void SetStartupWait(int ms);

private:
    void Construct(const QStringList& arguments);
    void ApplyStartOptions(const QStringList& arguments);
    ZafEventType ShowMainMenu();
    void ReplacePage(ZafWindow* page);
    void SetBackButton(const QString& text, ZafEventType event);

    // Command handlers (BRIXWindowCommands.cpp).
    ZafEventType Dispatch(ZafEventType code, const ZafEventStruct& event);
    ZafEventType Download();
    ZafEventType PrivilegeChange();
    ZafEventType AircraftInfo();
    ZafEventType Utilities();
    ZafEventType RunDownloadSequence(const AircraftRecord& aircraft);

    ZafObject info_;
    ZafObject back_;
    StatusBar statusBar_;  // before link_, which writes into it
    PrivilegeMenu privilegeMenu_;
    UnitLink link_;
    TolmAircraftCommands aircraft_;
    bool unrestricted_ = false;
    bool settingUpLink_ = false;
    QPointer<ZafWindow> page_;
    QMap<int, ZafEventType> hotKeys_;
    std::unique_ptr<ZafTimer> timer_;
    ZafFileDialog importDialog_;
    ZafFileDialog softwareDialog_;
    ZafFileDialog configDialog_;
    std::array<QString, 6> uploadPaths_;
    int utilitiesPage_ = 0;
    int normalFont_ = 0;
    int smallFont_ = 0;
    int midFont_ = 0;
};

}  // namespace tolm
