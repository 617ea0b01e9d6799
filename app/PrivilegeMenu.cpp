#include "app/PrivilegeMenu.h"

#include <QLoggingCategory>

#include "app/TolmAdminLoginDialog.h"
#include "core/Config.h"

Q_LOGGING_CATEGORY(lcPrivilege, "tolm.app.privilege")

namespace tolm {

void PrivilegeMenu::Attach(ZafObject pullDownMenu) {
    administrator_ = pullDownMenu.Get(QStringLiteral("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR"));
    flightLine_ = pullDownMenu.Get(QStringLiteral("PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE"));
    aircraftMenu_ = pullDownMenu.Get(QStringLiteral("PDI_AIRCRAFT_INFO"));
}

void PrivilegeMenu::Mark(int level) {
    if (level == kLevelAdministrator) {
        administrator_.SetSelected(true);
        SetAircraftMenuEnabled(true);
    } else if (level == kLevelFlightLine) {
        SelectFlightLine();
        SetAircraftMenuEnabled(false);
    }
}

void PrivilegeMenu::SelectFlightLine() {
    flightLine_.SetSelected(true);
    administrator_.SetSelected(false);
}

bool PrivilegeMenu::FlightLineSelected() const {
    return flightLine_.Selected();
}

void PrivilegeMenu::SetAircraftMenuEnabled(bool enabled) {
    aircraftMenu_.SetDisabled(!enabled);
}

bool PrivilegeMenu::AircraftMenuEnabled() const {
    return !aircraftMenu_.Disabled();
}

int PrivilegeMenu::ChooseLevel(int current, int font, UserPersist* loginReader) {
    if (FlightLineSelected()) {
        return kLevelFlightLine;
    }
    if (current != kLevelFlightLine) {
        return kLevelAdministrator;  // from the factory level or again at Administrator
    }
    TolmAdminLoginDialog login(font, loginReader);
    if (!login.Form()) {
        qCWarning(lcPrivilege) << "the login dialog is missing from its resource file";
    } else {
        login.Center();
        if (login.RunModal() == S_DIALOG_OK) {
            return kLevelAdministrator;
        }
    }
    SelectFlightLine();
    return kLevelFlightLine;
}

}  // namespace tolm
