#pragma once
// The aircraft information dialog shown before a download: the user picks the aircraft and
// confirms its engines. The four download and erase options of each engine are shown, checked
// and enabled when on, and never read back. Accepting stores the edits in the register.
#include "formats/AircraftRecord.h"
#include "register/ui/AircraftInfoFields.h"
#include "register/ui/BRIXRegisterDialog.h"

namespace tolm {

class BRIXAircraftInfoDialog : public BRIXRegisterDialog {
    Q_OBJECT
public:
    // Fills `record` with the aircraft shown; the caller keeps it after the dialog is gone.
    BRIXAircraftInfoDialog(int font, const QString& title, AircraftRecord& record);

    ZafEventType Event(const ZafEventStruct& event) override;

protected:
    ZafEventType Accept() override;

private:
    void Load();

    AircraftInfoFields fields_;
    AircraftRecord& record_;
};

}  // namespace tolm
