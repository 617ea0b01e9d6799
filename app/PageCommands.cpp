#include "app/PageCommands.h"

#include <QComboBox>
#include <QGroupBox>

#include "toolkit/ZafObject.h"
#include "toolkit/ZafWindow.h"

namespace tolm {

namespace {

template <class T>
T* nearest(QObject* from) {
    for (QObject* o = from; o; o = o->parent()) {
        if (auto* found = qobject_cast<T*>(o)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

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

void CopyEngineType(QObject* source, ZafWindow* page) {
    auto* combo = nearest<QComboBox>(source);
    if (!page || !combo) {
        return;
    }
    QGroupBox* group = nearest<QGroupBox>(combo->parent());
    const ZafObject engine1 = page->Get(QStringLiteral("G_ENGINE1"));
    const ZafObject engine2 = page->Get(QStringLiteral("G_ENGINE2"));
    ZafObject other;
    if (group && group == engine1.object()) {
        other = engine2;
    } else if (group && group == engine2.object()) {
        other = engine1;
    } else {
        return;
    }
    other.Get(QStringLiteral("TYPE")).SetText(combo->currentText());
}

}  // namespace tolm
