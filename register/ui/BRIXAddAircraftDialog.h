#pragma once
// Adds an aircraft to the register: a new identifier, refused when empty, unusable as a settings
// key and folder name, or already listed (letter case ignored).
#include "register/ui/BRIXRegisterDialog.h"

namespace tolm {

class BRIXAddAircraftDialog : public BRIXRegisterDialog {
    Q_OBJECT
public:
    explicit BRIXAddAircraftDialog(int font);

protected:
    ZafEventType Accept() override;
};

}  // namespace tolm
