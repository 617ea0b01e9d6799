#include "register/ui/BRIXRemoveAircraftDialog.h"

#include "register/AircraftRemoval.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

BRIXRemoveAircraftDialog::BRIXRemoveAircraftDialog(int font)
    : BRIXRegisterDialog(QStringLiteral("RemoveAircraftDialog"), font) {
    ZafObject list = Get(QStringLiteral("CURRENT_AIRCRAFT"));
    fillAircraftList(list, N_NONE);
    if (QWidget* w = list.widget()) {
        w->setFocus();
    }
}

ZafEventType BRIXRemoveAircraftDialog::Accept() {
    const QString identifier = Get(QStringLiteral("CURRENT_AIRCRAFT")).Text();
    if (identifier.isEmpty()) {
        return S_CLOSE;
    }
    if (!askYesNo(QStringLiteral("Remove Aircraft"),
                  QStringLiteral("Do you really want to remove aircraft %1?\nAll flight data "
                                 "collected for this aircraft will be deleted as well!")
                      .arg(identifier))) {
        return S_CLOSE;
    }
    if (const std::optional<Notice> problem = RemoveAircraft(identifier)) {
        showNotice(*problem);
    }
    return S_DIALOG_OK;
}

}  // namespace tolm
