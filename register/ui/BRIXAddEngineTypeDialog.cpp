#include "register/ui/BRIXAddEngineTypeDialog.h"

#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

BRIXAddEngineTypeDialog::BRIXAddEngineTypeDialog(int font)
    : BRIXRegisterDialog(QStringLiteral("AddEngineTypeDialog"), font) {
    fillEngineTypeList(Get(QStringLiteral("CURRENT_ENGINE")), N_NONE);
    if (QWidget* field = Get(QStringLiteral("NEW_ENGINE")).widget()) {
        field->setFocus();
    }
}

ZafEventType BRIXAddEngineTypeDialog::Accept() {
    const QString title = QStringLiteral("Error");
    // Only as much of the name as an engine record can hold, so that records match the list.
    EngineRecord fitted;
    fitted.setType(Get(QStringLiteral("NEW_ENGINE")).Text());
    const QString name = fitted.type();
    if (name.isEmpty()) {
        showCritical(title, QStringLiteral("No engine type specified"));
        return S_CONTINUE;
    }
    const ZafObject current = Get(QStringLiteral("CURRENT_ENGINE"));
    for (int i = 0; i < current.ItemCount(); ++i) {
        if (current.ItemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            showCritical(title, QStringLiteral("Engine Type \"%1\" already exists").arg(name));
            return S_CONTINUE;
        }
    }
    TolmAircraftSettings().setEngineType(current.ItemCount(), name);
    return S_DIALOG_OK;
}

}  // namespace tolm
