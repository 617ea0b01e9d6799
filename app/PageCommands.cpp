#include "app/PageCommands.h"

#include "toolkit/ZafObject.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

void ToggleChoiceGroup(ZafWindow* page) {
    if (!page) {
        return;
    }
    const ZafObject group = page->Get(QStringLiteral("G_CHOICE"));
    ZafObject button = group.Child(4);
    const bool selectAll = button.Text() == QLatin1String("Select ALL");
    button.SetText(selectAll ? QStringLiteral("Clear ALL") : QStringLiteral("Select ALL"));
    for (int i = 0; i < 4; ++i) {
        group.Child(i).SetSelected(selectAll);
    }
}

}  // namespace tolm
