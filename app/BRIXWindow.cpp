#include "app/BRIXWindow.h"
#include "app/MainEvents.h"

#include <QThread>

#include "app/CommandLine.h"
#include "app/FlightIndexNotes.h"
#include "core/Config.h"
#include "core/HelpTexts.h"
#include "health/ui/TrendWindow.h"
#include "link/LinkTrace.h"
#include "maintenance/UploadRun.h"
#include "register/DataDirectoryCheck.h"
#include "toolkit/BRIXButton.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "viewer/ui/EngineTrendOpener.h"
#include "viewer/ui/SelectDialog.h"

namespace tolm {

namespace {

int startupWaitMs = 2000;

int registerFont(int group) {
    FontSpec font;
    readFontSpec(group, font);
    return zafDisplay()->RegisterFont(font.family, font.pointSize, font.weight, font.slant);
}

QStringList toolkitArguments() {
    const ZafApplication* application = zafApplication();
    return application ? application->Arguments().mid(1) : QStringList();
}

}  // namespace

void BRIXWindow::SetStartupWait(int ms) {
    startupWaitMs = ms;
}

BRIXWindow::BRIXWindow() : BRIXWindow(toolkitArguments()) {}

BRIXWindow::BRIXWindow(const QStringList& arguments)
    : ZafWindow(QStringLiteral("BRIXWindow")),
      link_(statusBar_),
      importDialog_(ZafFileDialog::Mode::Open) {
    Construct(arguments);
}

void BRIXWindow::Construct(const QStringList& arguments) {
    // The link's record and flags are fresh members; place the window.
    Center();
    SetHelpContext(QStringLiteral("HelpBRIX"));

    // Fonts.
    normalFont_ = registerFont(kNormalFontGroup);
    smallFont_ = registerFont(kSmallFontGroup);
    midFont_ = registerFont(kMidFontGroup);

    // Configuration defaults.
    InitDefaults();
    // A failure is reported; the start goes on.
    if (const std::optional<Notice> problem =
            checkDataDirectory(uploadFolder(dataDirectory()), true)) {
        showNotice(*problem);
    }

    // Info area and status bar.
    info_ = Get(QStringLiteral("InfoWindow"));
    statusBar_.Attach(Get(QStringLiteral("StatusBar")), smallFont_);
    statusBar_.ShowDate();

    importDialog_.SetFilter(QStringLiteral("*.reg"));
    // The flight selection marks alarms and copies from the flight index.
    viewer::SelectDialog::setNotesSource([] { return flightNotesFromIndex(dataDirectory()); });
    // The viewer's Trend... leads to the engine-health trend window.
    viewer::setEngineTrendOpener([](const QString& aircraft, int engineNumber) {
        health::TrendWindow::Open(aircraft, engineNumber);
    });
    utilities_ = std::make_unique<BRIXUtilitiesPage>(link_, *this, normalFont_, midFont_);

    // Tool bar.
    back_ = Get(QStringLiteral("TOOL_BAR~B_BACK"));
    SetBackButton(QStringLiteral("Exit (Esc)"), S_CLOSE);

    // Pull-down menu.
    ZafObject menu = Get(QStringLiteral("ZAF_NUMID_PULL_DOWN_MENU"));
    menu.SetFont(normalFont_);
    const struct {
        const char* item;
        ZafEventType event;
    } items[] = {
        {"PDI_FILE~PUI_FILE_COMPRESS", MainEvent::Compress},
        {"PDI_FILE~PUI_FILE_FLEET_STATUS", MainEvent::FleetStatus},
        {"PDI_FILE~PUI_FILE_EXIT", S_CLOSE},
        {"PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR", MainEvent::PrivilegeChange},
        {"PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE", MainEvent::PrivilegeChange},
        {"PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD", MainEvent::ChangePassword},
        {"PDI_AIRCRAFT_INFO~PUI_AI_ADD", MainEvent::AddAircraft},
        {"PDI_AIRCRAFT_INFO~PUI_AI_REMOVE", MainEvent::RemoveAircraft},
        {"PDI_AIRCRAFT_INFO~PUI_AI_IMPORT", MainEvent::ImportAircraft},
        {"PDI_AIRCRAFT_INFO~PUI_AI_ADD_ENGINE_TYPE", MainEvent::AddEngineType},
        {"PDI_AIRCRAFT_INFO~PUI_AI_REMOVE_ENGINE_TYPE", MainEvent::RemoveEngineType},
        {"PDI_HELP~PUI_HELP_USER_GUIDE", MainEvent::UserGuide},
        {"PDI_HELP~PUI_HELP_RELEASE_NOTES", MainEvent::ReleaseNotes},
        {"PDI_HELP~PUI_HELP_ABOUT", MainEvent::About},
    };
    for (const auto& i : items) {
        menu.Get(QLatin1String(i.item)).SetSendMessage(i.event);
    }
    privilegeMenu_.Attach(menu);

    // The date timer.
    timer_ = std::make_unique<ZafTimer>(100, MainEvent::Tick);
    timer_->Add(this);
    zafEventManager()->Add(timer_.get());

    // Give the unit time to come up when both are switched on together.
    if (startupWaitMs > 0) {
        QThread::msleep(startupWaitMs);
    }

    // Address and port of the unit; the link trace, for this run ("-t") or for every run.
    link_.InitLinkContext();
    if (StartOptions::parse(arguments).linkTrace || readLinkTrace()) {
        LinkTrace::switchOn();
    }

    // Privilege level and the other options.
    setPrivilegeLevel(kLevelFlightLine);
    if (!arguments.isEmpty()) {
        ApplyStartOptions(arguments);
    }

    // Privilege marks and title.
    privilegeMenu_.Mark(privilegeLevel());
    statusBar_.ShowPrivilege(privilegeLevel());
    SetPageTitle();

    // The title page and its keys.
    ReplacePage(new ZafWindow(QStringLiteral("TitleWindow")));
    ZafObject proceed = page_->Get(QStringLiteral("B_CONTINUE"));
    proceed.SetSendMessage(MainEvent::ShowMainMenu);
    proceed.SetFont(normalFont_);
    page_->Get(QStringLiteral("copyrightLabel")).SetFont(smallFont_);
    hotKeys_ = {{VK::Escape, S_CLOSE}, {VK::F5, MainEvent::ShowMainMenu}};
}

void BRIXWindow::ApplyStartOptions(const QStringList& arguments) {
    const StartOptions options = StartOptions::parse(arguments);
    unrestricted_ = options.unrestricted;
    if (options.left || options.top) {
        move(options.left.value_or(x()), options.top.value_or(y()));
    }
    setPrivilegeLevel(options.verifiedLevel());
}

BRIXWindow::~BRIXWindow() {
    viewer::SelectDialog::setNotesSource({});
    if (ZafDisplay* display = zafDisplay()) {
        display->DestroyFont(normalFont_);
    }
    ZafEventManager* events = zafEventManager();
    if (events) {
        events->Subtract(timer_.get());
    }
    timer_.reset();
    if (events) {
        events->SetMouseState(DM_WAIT);
    }
    link_.stop(UnitLink::kExitWaitMs);
    LinkTrace::switchOff();
    if (events) {
        events->SetMouseState(DM_VIEW);
    }
    hotKeys_.clear();
}

void BRIXWindow::SetPageTitle(const QString& subtitle) {
    const QString title = QLatin1String(kProductTitle);
    SetTitle(subtitle.isEmpty() ? title : title + QStringLiteral(" - ") + subtitle);
}

void BRIXWindow::SetBackButton(const QString& text, ZafEventType event) {
    back_.SetText(text);
    back_.SetSendMessage(event);
    back_.SetFont(normalFont_);
}

void BRIXWindow::SetHotKey(int virtualKey, ZafEventType event) {
    hotKeys_[virtualKey] = event;
}

void BRIXWindow::ReplacePage(ZafWindow* page) {
    if (page_) {
        info_.Subtract(page_);
        delete page_.data();
    }
    page_ = page;
    info_.Add(page);
}

ZafWindow* BRIXWindow::ShowPage(const QString& windowName, const QString& subtitle,
                                const QString& helpContext) {
    SetPageTitle(subtitle);
    SetHelpContext(helpContext);
    ReplacePage(new ZafWindow(windowName));
    SetBackButton(QStringLiteral("Back (Esc)"), MainEvent::Back);
    hotKeys_ = {{VK::Escape, MainEvent::Back}};
    return page_;
}

void BRIXWindow::ShowHelpSection(const QString& section) {
    ZafObject area = page_ ? page_->Get(QStringLiteral("TextArea")) : ZafObject();
    if (!area) {
        return;
    }
    area.SetFont(normalFont_);
    area.SetText(HelpTexts::stored(section));
}

ZafEventType BRIXWindow::ShowMainMenu() {
    const int level = privilegeLevel();
    privilegeMenu_.SetAircraftMenuEnabled(level != kLevelFlightLine);
    SetPageTitle(QStringLiteral("Main Window"));
    SetHelpContext(QStringLiteral("HelpBRIX"));
    ReplacePage(new ZafWindow(QStringLiteral("MenuWindow")));
    ZafObject helpText = page_->Get(QStringLiteral("HELP_TEXT"));
    helpText.SetFont(midFont_);

    const struct {
        const char* button;
        ZafEventType event;
        const char* helpFile;
    } buttons[] = {
        {"B1", MainEvent::Download, "BRIX_AutoDownloadHelp.txt"},
        {"B3", MainEvent::ClearMemory, "BRIX_ClearHelp.txt"},
        {"B2", MainEvent::AircraftInfo, "BRIX_AircraftInfoHelp.txt"},
        {"B4", MainEvent::Plot, "BRIX_OtherFunctionsHelp.txt"},
        {"B5", MainEvent::Utilities, "BRIX_UtilitiesHelp.txt"},
    };
    for (const auto& b : buttons) {
        ZafObject button = page_->Get(QLatin1String(b.button));
        if (b.event == MainEvent::Utilities && level == kLevelFlightLine) {
            delete button.widget();
            continue;
        }
        if (b.event == MainEvent::Plot) {
            button.SetText(QStringLiteral("Plot (F8)"));
        }
        button.SetSendMessage(b.event);
        button.SetFont(normalFont_);
        if (auto* brix = button.as<BRIXButton>()) {
            brix->SetHelpFile(helpText, QLatin1String(b.helpFile));
        }
    }
    // The factory level sees Utilities but may not open it.
    if (level == kLevelFactory) {
        page_->Get(QStringLiteral("B5")).SetDisabled(true);
    }

    SetBackButton(QStringLiteral("Exit (Esc)"), S_CLOSE);

    if (!unrestricted_) {
        page_->Get(QStringLiteral("B1")).SetDisabled(!link_.downloadEnabled());
        page_->Get(QStringLiteral("B3")).SetDisabled(!link_.clearMemoryEnabled());
    }

    // The first usable button takes the focus, so that its help text shows.
    for (const char* id : {"B1", "B2", "B3", "B4", "B5"}) {
        if (ZafObject button = page_->Get(QLatin1String(id)); button && !button.Disabled()) {
            button.widget()->setFocus();
            break;
        }
    }

    hotKeys_ = {{VK::Escape, S_CLOSE},
                {VK::F5, MainEvent::Download},
                {VK::F6, MainEvent::AircraftInfo},
                {VK::F7, MainEvent::ClearMemory},
                {VK::F8, MainEvent::Plot},
                {VK::F9, MainEvent::Utilities}};
    ShowHelpSection(QStringLiteral("Main Window"));
    return 0;
}

bool BRIXWindow::EstablishUnitLink() {
    const LinkOwner::Lease lease = link_.owner().acquire(LinkActivity::SetUp);
    if (!lease) {
        return false;
    }
    return link_.EstablishUnitLink();
}

bool BRIXWindow::QueryClose() {
    // Whatever owns the link runs on this window's link and pages: it must end first.
    return !link_.RefusedWhileBusy();
}

}  // namespace tolm
