#pragma once
// Removes the chosen aircraft, after a question, with its data folder.
#include "register/ui/BRIXRegisterDialog.h"

namespace tolm {

class BRIXRemoveAircraftDialog : public BRIXRegisterDialog {
    Q_OBJECT
public:
    explicit BRIXRemoveAircraftDialog(int font);

protected:
    // Closes after either answer to the question.
    ZafEventType Accept() override;
};

}  // namespace tolm
