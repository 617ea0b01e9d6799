#include "register/ui/BRIXRemoveEngineTypeDialog.h"

#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"

namespace tolm {

BRIXRemoveEngineTypeDialog::BRIXRemoveEngineTypeDialog(int font)
    : BRIXRegisterDialog(QStringLiteral("RemoveEngineTypeDialog"), font) {
    ZafObject list = Get(QStringLiteral("CURRENT_ENGINE"));
    fillEngineTypeList(list, N_NONE);
    if (list.ItemCount() > 0) {
        list.SetItemSelected(0);
    }
    if (QWidget* w = list.widget()) {
        w->setFocus();
    }
}

ZafEventType BRIXRemoveEngineTypeDialog::Accept() {
    TolmAircraftSettings().removeEngineType(Get(QStringLiteral("CURRENT_ENGINE")).Text());
    return S_DIALOG_OK;
}

}  // namespace tolm
