#pragma once
// The program's main window: pull-down menu, tool bar with the Back/Exit button, status bar, and
// an info area that shows one page at a time (title page, main menu, or the page of a command).
// Every command arrives at its handler as a numbered event.
#include <QMap>
#include <QPointer>
#include <memory>

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
inline constexpr ZafEventType InactivityRevert = 10020;
inline constexpr ZafEventType Plot = 10023;
inline constexpr ZafEventType EngineTypeChosen = 10031;
inline constexpr ZafEventType Compress = 10033;
inline constexpr ZafEventType UserGuide = 10034;
inline constexpr ZafEventType ChangePassword = 10035;
inline constexpr ZafEventType ReleaseNotes = 10036;
}  // namespace MainEvent

class BRIXWindow : public ZafWindow {
    Q_OBJECT
public:
    BRIXWindow();
    ~BRIXWindow() override;

    ZafEventType Event(const ZafEventStruct& event) override;

    // Replaces the current page with the window of that name and gives it the Back button.
    ZafWindow* ShowPage(const QString& windowName, const QString& subtitle,
                        const QString& helpContext);
    // " TOLM for QUOR ", or " TOLM for QUOR  - <subtitle>".
    void SetPageTitle(const QString& subtitle = QString());
    ZafWindow* CurrentPage() const { return page_; }

    // The fonts registered at start.
    int NormalFont() const { return normalFont_; }
    int SmallFont() const { return smallFont_; }
    int MidFont() const { return midFont_; }
    ZafTimer* DateTimer() const { return timer_.get(); }

    // The wait before the link is set up at start (2 s; tests make it 0).
    static void SetStartupWait(int ms);

private:
    ZafEventType ShowMainMenu();
    void ReplacePage(ZafWindow* page);

    ZafObject info_;
    ZafObject date_;
    ZafObject privilegeField_;
    ZafObject back_;
    QPointer<ZafWindow> page_;
    QMap<int, ZafEventType> hotKeys_;
    std::unique_ptr<ZafTimer> timer_;
    int normalFont_ = 0;
    int smallFont_ = 0;
    int midFont_ = 0;
};

}  // namespace tolm
