#include "register/ui/BRIXRegisterDialog.h"

#include "toolkit/KeyCodes.h"

namespace tolm {

BRIXRegisterDialog::BRIXRegisterDialog(const QString& windowName, int font)
    : ZafDialogWindow(windowName) {
    Object().SetFont(font);
    Get(QStringLiteral("B_OK")).SetSendMessage(S_DIALOG_OK);
    Get(QStringLiteral("B_CANCEL")).SetSendMessage(S_CLOSE);
}

ZafEventType BRIXRegisterDialog::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (event.key == VK::F5) {
            return Accept();
        }
        if (event.key == VK::F8) {
            return S_CLOSE;
        }
    }
    if (event.type == S_DIALOG_OK) {
        return Accept();
    }
    return ZafDialogWindow::Event(event);
}

}  // namespace tolm
