#pragma once
// The dialogs of the aircraft register: "B_OK" or F5 accepts, "B_CANCEL" or F8 cancels. An
// accept that finds something wrong reports it and keeps the dialog open.
#include "toolkit/ZafWindow.h"

namespace tolm {

class BRIXRegisterDialog : public ZafDialogWindow {
    Q_OBJECT
public:
    // Loads the dialog window of that name through the default reader and gives it the font
    // (ZafDisplay::kKeepFont keeps the resource's).
    BRIXRegisterDialog(const QString& windowName, int font);

    ZafEventType Event(const ZafEventStruct& event) override;

protected:
    // S_DIALOG_OK closes the dialog as accepted; S_CONTINUE keeps it open.
    virtual ZafEventType Accept() = 0;
};

}  // namespace tolm
