#include "app/TolmAdminLoginDialog.h"

#include "core/Config.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

TolmAdminLoginDialog::TolmAdminLoginDialog(int font, UserPersist* reader)
    : ZafDialogWindow(QStringLiteral("TolmAdminLoginDialog"), reader) {
    password_ = Get(QStringLiteral("PASSWORD"));
    Object().SetFont(font);
    // Enter in the field counts as OK.
    password_.SetUserFunction([this](ZafObject, ZafEventType event) -> ZafEventType {
        if (event == L_SELECT) {
            if (ZafEventManager* events = zafEventManager()) {
                events->Put(ZafEventStruct(S_DIALOG_OK, this, this));
            }
        }
        return 0;
    });
}

ZafEventType TolmAdminLoginDialog::Event(const ZafEventStruct& event) {
    if (event.type != S_DIALOG_OK) {
        return ZafDialogWindow::Event(event);
    }
    if (password_.Text() == storedPassword()) {
        return S_DIALOG_OK;
    }
    showCritical(QStringLiteral("Invalid password"), QStringLiteral("Invalid password"), this);
    return S_CONTINUE;
}

}  // namespace tolm
