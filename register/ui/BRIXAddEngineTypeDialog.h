#pragma once
// Adds an engine type at the end of the list; refused when empty or already listed (letter case
// ignored).
#include "register/ui/BRIXRegisterDialog.h"

namespace tolm {

class BRIXAddEngineTypeDialog : public BRIXRegisterDialog {
    Q_OBJECT
public:
    explicit BRIXAddEngineTypeDialog(int font);

protected:
    ZafEventType Accept() override;
};

}  // namespace tolm
