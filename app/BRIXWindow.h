#pragma once
// The program's main window: pull-down menu, tool bar with the Back/Exit button, status bar, and
// an info area that shows one page at a time (title page, main menu, or the page of a command).
// Every command arrives at its handler as a numbered event. The window owns the unit link.
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <memory>

#include "app/PrivilegeMenu.h"
#include "app/StatusBar.h"
#include "link/ui/UnitLink.h"
#include "maintenance/ui/BRIXUtilitiesPage.h"
#include "register/ui/TolmAircraftCommands.h"
#include "toolkit/ZafFileDialog.h"
#include "toolkit/ZafTimer.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

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
    // Connects to the unit if needed and reads its part numbers (status bar and link flags),
    // owning the link meanwhile. False at once while another activity owns the link.
    bool EstablishUnitLink();
    // Exit is refused, with a box, while an activity owns the link.
    bool QueryClose() override;

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

    // The file dialog of the aircraft import.
    ZafFileDialog& ImportDialog() { return importDialog_; }
    // The Utilities page's commands and the uploads, which outlive the page.
    BRIXUtilitiesPage& UtilitiesPage() { return *utilities_; }

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
    ZafEventType ClearMemory();
    ZafEventType EraseMemory();
    ZafEventType Utilities();
    ZafEventType UtilitiesEvent(ZafEventType code);
    ZafEventType RunDownloadSequence(const AircraftRecord& aircraft);

    ZafObject info_;
    ZafObject back_;
    StatusBar statusBar_;  // before link_, which writes into it
    PrivilegeMenu privilegeMenu_;
    UnitLink link_;
    TolmAircraftCommands aircraft_;
    bool unrestricted_ = false;
    QPointer<ZafWindow> page_;
    QMap<int, ZafEventType> hotKeys_;
    std::unique_ptr<ZafTimer> timer_;
    ZafFileDialog importDialog_;
    std::unique_ptr<BRIXUtilitiesPage> utilities_;  // uses the link above
    int normalFont_ = 0;
    int smallFont_ = 0;
    int midFont_ = 0;
};

}  // namespace tolm
