#pragma once
// Removes the chosen engine type without asking; the types after it move up by one. Aircraft
// that use the type keep its name.
#include "register/ui/BRIXRegisterDialog.h"

namespace tolm {

class BRIXRemoveEngineTypeDialog : public BRIXRegisterDialog {
    Q_OBJECT
public:
    explicit BRIXRemoveEngineTypeDialog(int font);

protected:
    ZafEventType Accept() override;
};

}  // namespace tolm
