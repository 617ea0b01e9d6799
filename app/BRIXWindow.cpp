#include "app/BRIXWindow.h"

#include <QThread>

#include "app/config/Clock.h"
#include "app/config/Config.h"
#include "toolkit/BRIXButton.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

namespace {

int startupWaitMs = 2000;

int registerFont(int group) {
    FontSpec spec;
    readFontSpec(group, spec);
    return zafDisplay()->RegisterFont(spec.family, spec.pointSize, spec.weight, spec.slant);
}

QString dateText() { return clock().now().toString(QStringLiteral("d MMM yyyy hh:mm:ss")); }

}  // namespace

void BRIXWindow::SetStartupWait(int ms) { startupWaitMs = ms; }

BRIXWindow::BRIXWindow() : ZafWindow(QStringLiteral("BRIXWindow")) {
    Center();
    SetHelpContext(QStringLiteral("HelpBRIX"));

    normalFont_ = registerFont(kNormalFontGroup);
    smallFont_ = registerFont(kSmallFontGroup);
    midFont_ = registerFont(kMidFontGroup);

    InitDefaults();

    info_ = Get(QStringLiteral("InfoWindow"));
    ZafObject statusBar = Get(QStringLiteral("StatusBar"));
    statusBar.SetFont(smallFont_);
    date_ = statusBar.Get(QStringLiteral("DATE"));
    privilegeField_ = statusBar.Get(QStringLiteral("PRIVILEGE_LEVEL"));
    date_.SetText(dateText());

    back_ = Get(QStringLiteral("TOOL_BAR~B_BACK"));
    back_.SetText(QStringLiteral("Exit (Esc)"));
    back_.SetSendMessage(S_CLOSE);
    back_.SetFont(normalFont_);

    ZafObject menu = Get(QStringLiteral("ZAF_NUMID_PULL_DOWN_MENU"));
    menu.SetFont(normalFont_);
    const struct {
        const char* item;
        ZafEventType event;
    } items[] = {
        {"PDI_FILE~PUI_FILE_COMPRESS", MainEvent::Compress},
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

    timer_ = std::make_unique<ZafTimer>(100, MainEvent::Tick);
    timer_->Add(this);
    zafEventManager()->Add(timer_.get());

    if (startupWaitMs > 0) {
        QThread::msleep(startupWaitMs);
    }

    setPrivilegeLevel(kLevelFlightLine);
    menu.Get(QStringLiteral("PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE")).SetSelected(true);
    menu.Get(QStringLiteral("PDI_AIRCRAFT_INFO")).SetDisabled(true);
    privilegeField_.SetText(privilegeName(privilegeLevel()));
    SetPageTitle();

    ReplacePage(new ZafWindow(QStringLiteral("TitleWindow")));
    hotKeys_ = {{VK::Escape, S_CLOSE}, {VK::F5, MainEvent::ShowMainMenu}};
}

BRIXWindow::~BRIXWindow() {
    zafDisplay()->DestroyFont(normalFont_);
    zafEventManager()->Subtract(timer_.get());
    timer_.reset();
}

void BRIXWindow::SetPageTitle(const QString& subtitle) {
    const QString title = QLatin1String(kProductTitle);
    SetTitle(subtitle.isEmpty() ? title : title + QStringLiteral(" - ") + subtitle);
}

void BRIXWindow::ReplacePage(ZafWindow* page) {
    if (page_) {
        info_.Subtract(page_);
        delete page_.data();
    }
    page_ = page;
    ZafObject(page).SetCoordinateType(2);
    info_.Add(page);
}

ZafWindow* BRIXWindow::ShowPage(const QString& windowName, const QString& subtitle,
                                const QString& helpContext) {
    SetPageTitle(subtitle);
    SetHelpContext(helpContext);
    ReplacePage(new ZafWindow(windowName));
    back_.SetText(QStringLiteral("Back (Esc)"));
    back_.SetSendMessage(MainEvent::Back);
    hotKeys_ = {{VK::Escape, MainEvent::Back}};
    return page_;
}

ZafEventType BRIXWindow::ShowMainMenu() {
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
        if (b.event == MainEvent::Utilities && privilegeLevel() == kLevelFlightLine) {
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

    back_.SetText(QStringLiteral("Exit (Esc)"));
    back_.SetSendMessage(S_CLOSE);
    back_.SetFont(normalFont_);

    for (const char* id : {"B1", "B2", "B3", "B4", "B5"}) {
        if (ZafObject button = page_->Get(QLatin1String(id)); button && !button.Disabled()) {
            button.widget()->setFocus();
            break;
        }
    }

    hotKeys_ = {{VK::Escape, S_CLOSE},          {VK::F5, MainEvent::Download},
                {VK::F6, MainEvent::AircraftInfo}, {VK::F7, MainEvent::ClearMemory},
                {VK::F8, MainEvent::Plot},       {VK::F9, MainEvent::Utilities}};
    return 0;
}

ZafEventType BRIXWindow::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (const ZafEventType mapped = hotKeys_.value(event.key, 0); mapped != 0) {
            return Event(ZafEventStruct(mapped, event.source, this));
        }
    }
    switch (LogicalEvent(event)) {
        case MainEvent::ShowMainMenu:
            return ShowMainMenu();
        case MainEvent::Back:
            return Event(ZafEventStruct(MainEvent::ShowMainMenu, event.source, this));
        case MainEvent::Tick:
            date_.SetText(dateText());
            return 0;
        default:
            break;
    }
    if (event.type >= 10000 && event.type <= 10036) {
        return 0;  // commands not available in this build do nothing
    }
    return ZafWindow::Event(event);
}

}  // namespace tolm
