#pragma once
// The main window's status bar: the privilege level, the running date and time, and the three
// fields the unit link writes (link status, the unit's part number and serial number).
#include <QString>

#include "link/ui/LinkStatusDisplay.h"
#include "toolkit/ZafObject.h"

namespace tolm {

class StatusBar : public LinkStatusDisplay {
public:
    // Finds the five fields in the status bar and gives the bar the font.
    void Attach(ZafObject bar, int font);

    // "DATE": the current local date and time.
    void ShowDate();
    // "PRIVILEGE_LEVEL": the name of the level.
    void ShowPrivilege(int level);

    void setFieldText(const QString& field, const QString& text) override;
    ZafObject Field(const QString& name) const;

private:
    ZafObject bar_;
    ZafObject date_;
    ZafObject privilege_;
};

}  // namespace tolm
