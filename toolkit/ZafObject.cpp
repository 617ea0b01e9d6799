#include "toolkit/ZafObject.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindow.h"

namespace {

constexpr int kItemEventRole = Qt::UserRole + 0x2a;
constexpr const char* kEventProperty = "zafEvent";
constexpr const char* kWiredProperty = "zafWired";
constexpr const char* kCoordinateProperty = "zafCoordinateType";

void send(QObject* object, ZafEventType event) {
    if (event != N_NONE) {
        if (ZafEventManager* em = zafEventManager()) {
            em->Put(ZafEventStruct(event, object, object));
        }
    }
}

void sendObjectEvent(QObject* object) {
    send(object, object->property(kEventProperty).toInt());
}

// Lists and combo boxes send the chosen item's own event, or else the control's event.
void wireItems(QObject* control) {
    if (control->property(kWiredProperty).toBool()) {
        return;
    }
    control->setProperty(kWiredProperty, true);
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        QObject::connect(c, &QComboBox::activated, c, [c](int index) {
            const int itemEvent = c->itemData(index, kItemEventRole).toInt();
            send(c, itemEvent != N_NONE ? itemEvent : c->property(kEventProperty).toInt());
        });
    } else if (auto* l = qobject_cast<QListWidget*>(control)) {
        QObject::connect(l, &QListWidget::currentRowChanged, l, [l](int row) {
            const QListWidgetItem* it = l->item(row);
            const int itemEvent = it ? it->data(kItemEventRole).toInt() : N_NONE;
            send(l, itemEvent != N_NONE ? itemEvent : l->property(kEventProperty).toInt());
        });
    }
}

QObject* findIn(QObject* root, const QString& id) {
    QList<QObject*> candidates = root->children();
    if (auto* w = qobject_cast<QWidget*>(root)) {
        for (QAction* a : w->actions()) {
            if (!candidates.contains(a)) {
                candidates.append(a);
            }
        }
    }
    for (QObject* child : candidates) {
        if (child->objectName() == id) {
            return child;
        }
        if (QObject* found = findIn(child, id)) {
            return found;
        }
    }
    return nullptr;
}

void collectWidgets(QLayout* layout, QList<QWidget*>& out) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QWidget* w = item->widget()) {
            out.append(w);
        } else if (QLayout* inner = item->layout()) {
            collectWidgets(inner, out);
        }
    }
}

// The objects of a container in order: its layout's widgets, else its child widgets.
QList<QWidget*> items(QObject* object) {
    QList<QWidget*> result;
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) {
        return result;
    }
    if (w->layout()) {
        collectWidgets(w->layout(), result);
    } else {
        for (QObject* child : w->children()) {
            if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow()) {
                result.append(cw);
            }
        }
    }
    return result;
}

class UserFunctionHook : public QObject {
public:
    UserFunctionHook(QObject* field, ZafObject::UserFunction fn)
        : QObject(field), function_(std::move(fn)) {
        field->installEventFilter(this);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            connect(edit, &QLineEdit::returnPressed, this, [this] { call(L_SELECT); });
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) {
            call(S_CURRENT);
        } else if (e->type() == QEvent::FocusOut) {
            call(S_NON_CURRENT);
        }
        return false;
    }

private:
    void call(ZafEventType event) {
        if (function_) {
            function_(ZafObject(parent()), event);
        }
    }
    ZafObject::UserFunction function_;
};

}  // namespace

QWidget* ZafObject::widget() const {
    return qobject_cast<QWidget*>(object_.data());
}

QString ZafObject::Identifier() const {
    return object_ ? object_->objectName() : QString();
}

ZafObject ZafObject::Get(const QString& identifier) const {
    if (!object_) {
        return ZafObject();
    }
    const qsizetype tilde = identifier.indexOf(QLatin1Char('~'));
    if (tilde >= 0) {
        return Get(identifier.left(tilde)).Get(identifier.mid(tilde + 1));
    }
    return ZafObject(findIn(object_.data(), identifier));
}

ZafWindow* ZafObject::Window() const {
    for (QObject* o = object_.data(); o; o = o->parent()) {
        if (auto* window = qobject_cast<ZafWindow*>(o)) {
            return window;
        }
    }
    return nullptr;
}

QString ZafObject::Text() const {
    QObject* o = object_.data();
    if (!o) {
        return QString();
    }
    if (auto* x = qobject_cast<QLabel*>(o))
        return x->text();
    if (auto* x = qobject_cast<QLineEdit*>(o))
        return x->text();
    if (auto* x = qobject_cast<QPlainTextEdit*>(o))
        return x->toPlainText();
    if (auto* x = qobject_cast<QTextEdit*>(o))
        return x->toPlainText();
    if (auto* x = qobject_cast<QAbstractButton*>(o))
        return x->text();
    if (auto* x = qobject_cast<QAction*>(o))
        return x->text();
    if (auto* x = qobject_cast<QMenu*>(o))
        return x->title();
    if (auto* x = qobject_cast<QComboBox*>(o))
        return x->currentText();
    if (auto* x = qobject_cast<QSpinBox*>(o))
        return QString::number(x->value());
    if (auto* x = qobject_cast<QAbstractSpinBox*>(o))
        return x->text();
    if (auto* x = qobject_cast<QListWidget*>(o))
        return x->currentItem() ? x->currentItem()->text() : QString();
    if (auto* x = qobject_cast<QGroupBox*>(o))
        return x->title();
    if (auto* x = qobject_cast<QTabWidget*>(o))
        return x->tabText(x->currentIndex());
    if (auto* x = qobject_cast<QWidget*>(o); x && x->isWindow())
        return x->windowTitle();
    return QString();
}

void ZafObject::SetText(const QString& text) {
    QObject* o = object_.data();
    if (!o) {
        return;
    }
    if (auto* x = qobject_cast<QLabel*>(o))
        x->setText(text);
    else if (auto* x = qobject_cast<QLineEdit*>(o))
        x->setText(text);
    else if (auto* x = qobject_cast<QPlainTextEdit*>(o))
        x->setPlainText(text);
    else if (auto* x = qobject_cast<QTextEdit*>(o))
        x->setPlainText(text);
    else if (auto* x = qobject_cast<QAbstractButton*>(o))
        x->setText(text);
    else if (auto* x = qobject_cast<QAction*>(o))
        x->setText(text);
    else if (auto* x = qobject_cast<QMenu*>(o))
        x->setTitle(text);
    else if (auto* x = qobject_cast<QComboBox*>(o)) {
        const QSignalBlocker block(x);
        if (x->isEditable()) {
            x->setEditText(text);
        } else if (const int i = x->findText(text); i >= 0) {
            x->setCurrentIndex(i);
        }
    } else if (auto* x = qobject_cast<QSpinBox*>(o)) {
        const QSignalBlocker block(x);
        x->setValue(text.toInt());
    } else if (auto* x = qobject_cast<QListWidget*>(o)) {
        const QSignalBlocker block(x);
        const auto found = x->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty()) {
            x->setCurrentItem(found.first());
        }
    } else if (auto* x = qobject_cast<QGroupBox*>(o))
        x->setTitle(text);
    else if (auto* x = qobject_cast<QTabWidget*>(o))
        x->setTabText(x->currentIndex(), text);
    else if (auto* x = qobject_cast<QWidget*>(o))
        x->setWindowTitle(text);
}

void ZafObject::SetFont(int fontNumber) {
    ZafDisplay* display = zafDisplay();
    QObject* o = object_.data();
    if (!o || fontNumber == ZafDisplay::kKeepFont || !display || !display->HasFont(fontNumber)) {
        return;
    }
    const QFont font = display->Font(fontNumber);
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setFont(font);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setFont(font);
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            for (QMenu* menu : bar->findChildren<QMenu*>()) {
                menu->setFont(font);
            }
        }
    }
}

void ZafObject::SetDisabled(bool disabled) {
    QObject* o = object_.data();
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setEnabled(!disabled);
    } else if (auto* menu = qobject_cast<QMenu*>(o)) {
        menu->setEnabled(!disabled);
        menu->menuAction()->setEnabled(!disabled);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setEnabled(!disabled);
    }
}

bool ZafObject::Disabled() const {
    QObject* o = object_.data();
    if (auto* a = qobject_cast<QAction*>(o))
        return !a->isEnabled();
    if (auto* menu = qobject_cast<QMenu*>(o))
        return !menu->menuAction()->isEnabled();
    if (auto* w = qobject_cast<QWidget*>(o))
        return !w->isEnabled();
    return false;
}

void ZafObject::SetSelected(bool selected) {
    QObject* o = object_.data();
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setCheckable(true);
        a->setChecked(selected);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setCheckable(true);
        b->setChecked(selected);
    }
}

bool ZafObject::Selected() const {
    QObject* o = object_.data();
    if (auto* a = qobject_cast<QAction*>(o))
        return a->isChecked();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->isChecked();
    return false;
}

void ZafObject::SetVisible(bool visible) {
    if (auto* a = qobject_cast<QAction*>(object_.data())) {
        a->setVisible(visible);
    } else if (QWidget* w = widget()) {
        w->setVisible(visible);
    }
}

bool ZafObject::Visible() const {
    if (auto* a = qobject_cast<QAction*>(object_.data()))
        return a->isVisible();
    if (QWidget* w = widget())
        return !w->isHidden();
    return false;
}

void ZafObject::SetSendMessage(ZafEventType event) {
    QObject* o = object_.data();
    if (!o) {
        return;
    }
    o->setProperty(kEventProperty, event);
    if (qobject_cast<QComboBox*>(o) || qobject_cast<QListWidget*>(o)) {
        wireItems(o);
        return;
    }
    if (o->property(kWiredProperty).toBool()) {
        return;
    }
    o->setProperty(kWiredProperty, true);
    if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        QObject::connect(b, &QAbstractButton::clicked, b, [b] { sendObjectEvent(b); });
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        QObject::connect(a, &QAction::triggered, a, [a] { sendObjectEvent(a); });
    } else if (auto* e = qobject_cast<QLineEdit*>(o)) {
        QObject::connect(e, &QLineEdit::returnPressed, e, [e] { sendObjectEvent(e); });
    } else if (auto* t = qobject_cast<QTabWidget*>(o)) {
        QObject::connect(t, &QTabWidget::currentChanged, t, [t] { sendObjectEvent(t); });
    }
}

ZafEventType ZafObject::SendMessage() const {
    return object_ ? object_->property(kEventProperty).toInt() : N_NONE;
}

void ZafObject::WireResourceEvents(QObject* root) {
    const QList<QObject*> all = root->findChildren<QObject*>();
    for (QObject* o : all) {
        const QVariant event = o->property(kEventProperty);
        if (event.isValid() && !o->property(kWiredProperty).toBool()) {
            ZafObject(o).SetSendMessage(event.toInt());
        }
    }
}

void ZafObject::SetUserFunction(UserFunction function) {
    if (object_) {
        new UserFunctionHook(object_.data(), std::move(function));
    }
}

void ZafObject::SetCoordinateType(int type) {
    if (object_) {
        object_->setProperty(kCoordinateProperty, type);
    }
}

int ZafObject::CoordinateType() const {
    return object_ ? object_->property(kCoordinateProperty).toInt() : 0;
}

QRect ZafObject::Region() const {
    QWidget* w = widget();
    return w ? w->geometry() : QRect();
}

void ZafObject::SetRegion(const QRect& region) {
    if (QWidget* w = widget()) {
        w->setGeometry(region);
    }
}

void ZafObject::Add(QWidget* child) {
    QWidget* w = widget();
    if (!w || !child) {
        return;
    }
    if (!w->layout()) {
        auto* layout = new QVBoxLayout(w);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    w->layout()->addWidget(child);
    child->show();
}

void ZafObject::Subtract(QWidget* child) {
    QWidget* w = widget();
    if (!w || !child) {
        return;
    }
    if (w->layout()) {
        w->layout()->removeWidget(child);
    }
    child->hide();
    child->setParent(nullptr);
}

int ZafObject::Count() const {
    return static_cast<int>(items(object_.data()).size());
}

ZafObject ZafObject::Child(int index) const {
    const QList<QWidget*> list = items(object_.data());
    return index >= 0 && index < list.size() ? ZafObject(list.at(index)) : ZafObject();
}

void ZafObject::ClearItems() {
    if (auto* c = as<QComboBox>()) {
        const QSignalBlocker block(c);
        const QString text = c->isEditable() ? c->currentText() : QString();
        c->clear();
        if (c->isEditable()) {
            c->setEditText(text);
        }
    } else if (auto* l = as<QListWidget>()) {
        const QSignalBlocker block(l);
        l->clear();
    }
}

void ZafObject::AddItem(const QString& text, ZafEventType event) {
    if (auto* c = as<QComboBox>()) {
        const QSignalBlocker block(c);
        const QString edit = c->isEditable() ? c->currentText() : QString();
        c->addItem(text);
        c->setItemData(c->count() - 1, event, kItemEventRole);
        if (c->isEditable()) {
            c->setEditText(edit);
        }
        if (event != N_NONE) {
            wireItems(c);
        }
    } else if (auto* l = as<QListWidget>()) {
        const QSignalBlocker block(l);
        auto* item = new QListWidgetItem(text, l);
        item->setData(kItemEventRole, event);
        if (event != N_NONE) {
            wireItems(l);
        }
    }
}

int ZafObject::ItemCount() const {
    if (auto* c = as<QComboBox>())
        return c->count();
    if (auto* l = as<QListWidget>())
        return l->count();
    return 0;
}

QString ZafObject::ItemText(int index) const {
    if (auto* c = as<QComboBox>())
        return c->itemText(index);
    if (auto* l = as<QListWidget>())
        return l->item(index) ? l->item(index)->text() : QString();
    return QString();
}

void ZafObject::SetItemSelected(int index, bool selected) {
    if (auto* c = as<QComboBox>()) {
        const QSignalBlocker block(c);
        if (selected) {
            c->setCurrentIndex(index);
        }
    } else if (auto* l = as<QListWidget>()) {
        const QSignalBlocker block(l);
        if (QListWidgetItem* item = l->item(index)) {
            item->setSelected(selected);
            if (selected) {
                l->setCurrentItem(item);
            }
        }
    }
}

bool ZafObject::ItemSelected(int index) const {
    if (auto* c = as<QComboBox>())
        return c->currentIndex() == index;
    if (auto* l = as<QListWidget>())
        return l->item(index) && l->item(index)->isSelected();
    return false;
}

int ZafObject::SelectedItem() const {
    if (auto* c = as<QComboBox>())
        return c->currentIndex();
    if (auto* l = as<QListWidget>())
        return l->currentRow();
    return -1;
}
