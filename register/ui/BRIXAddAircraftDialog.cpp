#include "register/ui/BRIXAddAircraftDialog.h"

#include "formats/AircraftIdentifier.h"
#include "register/TolmAircraftSettings.h"
#include "register/ui/AircraftLists.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

BRIXAddAircraftDialog::BRIXAddAircraftDialog(int font)
    : BRIXRegisterDialog(QStringLiteral("AddAircraftDialog"), font) {
    fillAircraftList(Get(QStringLiteral("CURRENT_AIRCRAFT")), N_NONE);
    if (QWidget* field = Get(QStringLiteral("NEW_AIRCRAFT_ID")).widget()) {
        field->setFocus();
    }
}

ZafEventType BRIXAddAircraftDialog::Accept() {
    const QString title = QStringLiteral("Error");
    // The identifier as a record holds it, so that the key and the record agree.
    AircraftRecord record;
    record.setIdentifier(Get(QStringLiteral("NEW_AIRCRAFT_ID")).Text());
    const QString identifier = record.identifier();
    if (identifier.isEmpty()) {
        showCritical(title, QStringLiteral("No aircraftID specified"));
        return S_CONTINUE;
    }
    if (!isUsableAircraftId(identifier)) {
        showCritical(title, QStringLiteral("Invalid aircraft ID \"%1\"").arg(identifier));
        return S_CONTINUE;
    }
    const ZafObject current = Get(QStringLiteral("CURRENT_AIRCRAFT"));
    for (int i = 0; i < current.ItemCount(); ++i) {
        if (current.ItemText(i).compare(identifier, Qt::CaseInsensitive) == 0) {
            showCritical(title,
                         QStringLiteral("Aircraft ID \"%1\" already exists").arg(identifier));
            return S_CONTINUE;
        }
    }
    TolmAircraftSettings settings;
    settings.storeAircraft(identifier, record);
    settings.setLastAircraft(identifier);
    return S_DIALOG_OK;
}

}  // namespace tolm
