#pragma once
// Groups. In a ZafGroup the arrow keys move the focus among the group's selectable objects,
// wrapping around at either end. A BRIXGroup stops at the ends instead.
#include <QGroupBox>

#include "toolkit/ZafEvent.h"

class ZafGroup : public QGroupBox, public ZafEventHandler {
    Q_OBJECT
public:
    explicit ZafGroup(QWidget* parent = nullptr);
    ZafEventType Event(const ZafEventStruct& event) override;

    // Enabled, shown objects of the group that take the focus, in order.
    QList<QWidget*> SelectableObjects() const;
    QWidget* CurrentObject() const;

protected:
    // Moves the focus to the previous or next selectable object; 0 when it moved.
    ZafEventType MoveCurrent(bool next, bool wrap);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;
};

class BRIXGroup : public ZafGroup {
    Q_OBJECT
public:
    explicit BRIXGroup(QWidget* parent = nullptr);
    ZafEventType Event(const ZafEventStruct& event) override;
};
