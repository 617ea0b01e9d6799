#include "toolkit/BRIXGroup.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QChildEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>

namespace {

// Arrow keys that an object of the group uses itself before the group may move: the cursor keys
// of one-line fields, and every arrow of multi-line texts and lists.
bool objectUsesKey(QObject* object, int key) {
    if (qobject_cast<QAbstractScrollArea*>(object)) {
        return true;
    }
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        return false;
    }
    if (qobject_cast<QLineEdit*>(object) || qobject_cast<QAbstractSpinBox*>(object)) {
        return true;
    }
    auto* combo = qobject_cast<QComboBox*>(object);
    return combo && combo->isEditable();
}

}  // namespace

ZafGroup::ZafGroup(QWidget* parent) : QGroupBox(parent) {}

QList<QWidget*> ZafGroup::SelectableObjects() const {
    QList<QWidget*> result;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isEnabled() && w->isVisibleTo(this) && (w->focusPolicy() & Qt::TabFocus)) {
            result.append(w);
        }
    }
    return result;
}

QWidget* ZafGroup::CurrentObject() const {
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w : SelectableObjects()) {
        if (w == focus || w->isAncestorOf(focus)) {
            return w;
        }
    }
    return nullptr;
}

ZafEventType ZafGroup::MoveCurrent(bool next, bool wrap) {
    const QList<QWidget*> objects = SelectableObjects();
    if (objects.isEmpty()) {
        return S_UNKNOWN;
    }
    const qsizetype n = objects.size();
    qsizetype i = objects.indexOf(CurrentObject());
    if (i < 0) {
        i = next ? n - 1 : 0;
    }
    qsizetype target = next ? i + 1 : i - 1;
    if (target < 0 || target >= n) {
        if (!wrap) {
            return S_UNKNOWN;
        }
        target = (target + n) % n;
    }
    objects.at(target)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return 0;
}

ZafEventType ZafGroup::Event(const ZafEventStruct& event) {
    switch (LogicalEvent(event)) {
        case L_PREVIOUS:
            return MoveCurrent(false, true);
        case L_NEXT:
            return MoveCurrent(true, true);
        default:
            return S_UNKNOWN;
    }
}

bool ZafGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        !objectUsesKey(watched, static_cast<QKeyEvent*>(event)->key())) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left:
                Event(ZafEventStruct(L_PREVIOUS, watched));
                return true;
            case Qt::Key_Down:
            case Qt::Key_Right:
                Event(ZafEventStruct(L_NEXT, watched));
                return true;
            default:
                break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void ZafGroup::childEvent(QChildEvent* event) {
    if (event->added() && event->child()->isWidgetType()) {
        event->child()->installEventFilter(this);
    }
    QGroupBox::childEvent(event);
}

BRIXGroup::BRIXGroup(QWidget* parent) : ZafGroup(parent) {}

ZafEventType BRIXGroup::Event(const ZafEventStruct& event) {
    const ZafEventType logical = LogicalEvent(event);
    if (logical == L_PREVIOUS || logical == L_NEXT) {
        const QList<QWidget*> objects = SelectableObjects();
        QWidget* current = CurrentObject();
        if (!objects.isEmpty() && current &&
            current == (logical == L_PREVIOUS ? objects.first() : objects.last())) {
            return S_UNKNOWN;  // no wrapping around
        }
        // Not at an end: the plain window handling moves the focus.
        return MoveCurrent(logical == L_NEXT, false);
    }
    return ZafGroup::Event(event);
}
