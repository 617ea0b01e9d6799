#pragma once
// The Administrator login: one password field. Enter in the field, or OK, checks the password;
// a wrong one is reported and the dialog stays open for another try.
#include "toolkit/ZafObject.h"
#include "toolkit/ZafWindow.h"

class UserPersist;

namespace tolm {

class TolmAdminLoginDialog : public ZafDialogWindow {
    Q_OBJECT
public:
    // font: a font number, or ZafDisplay::kKeepFont to keep the resource's font.
    TolmAdminLoginDialog(int font, UserPersist* reader);

    // S_DIALOG_OK with the right password (which ends the dialog); S_CONTINUE after a wrong one.
    ZafEventType Event(const ZafEventStruct& event) override;

private:
    ZafObject password_;
};

}  // namespace tolm
