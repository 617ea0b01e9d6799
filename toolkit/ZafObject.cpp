#include "toolkit/ZafObject.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QVBoxLayout>

#include "toolkit/WidgetAdapters.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindow.h"

namespace {

constexpr const char* kEventProperty = "zafEvent";
constexpr const char* kWiredProperty = "zafWired";

void send(QObject* object, ZafEventType event) {
    if (event != N_NONE) {
        if (ZafEventManager* em = zafEventManager()) {
            em->Put(ZafEventStruct(event, object, object));
        }
    }
}

// Connects the object's choice by the user, once: a list or combo box item sends its own event,
// or else the object's.
void wire(QObject* object, const WidgetAdapter& adapter) {
    if (object->property(kWiredProperty).toBool()) {
        return;
    }
    object->setProperty(kWiredProperty, true);
    adapter.onChosen(object, object, [object, &adapter](int item) {
        const ZafEventType itemEvent = adapter.itemEvent(object, item);
        send(object, itemEvent != N_NONE ? itemEvent : object->property(kEventProperty).toInt());
    });
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

// The one user function of a field, told when the field becomes and stops being the current
// object and when it is confirmed.
class UserFunctionHook : public QObject {
public:
    UserFunctionHook(QObject* field, ZafObject::UserFunction fn)
        : QObject(field), function_(std::move(fn)) {
        field->installEventFilter(this);
        adapterFor(field).onConfirmed(field, this, [this] { call(L_SELECT); });
    }
    static UserFunctionHook* of(const QObject* field) {
        for (QObject* child : field->children()) {
            if (auto* hook = dynamic_cast<UserFunctionHook*>(child)) {
                return hook;
            }
        }
        return nullptr;
    }
    void setFunction(ZafObject::UserFunction fn) { function_ = std::move(fn); }

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
    // Calls a copy, so that the function may replace or remove itself; the hook is not touched
    // after the call.
    void call(ZafEventType event) {
        const ZafObject::UserFunction function = function_;
        function(ZafObject(parent()), event);
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
    return adapterFor(o).text(o);
}

void ZafObject::SetText(const QString& text) {
    QObject* o = object_.data();
    adapterFor(o).setText(o, text);
}

void ZafObject::SetFont(int fontNumber) {
    ZafDisplay* display = zafDisplay();
    if (fontNumber == ZafDisplay::kKeepFont || !display || !display->HasFont(fontNumber)) {
        return;
    }
    QObject* o = object_.data();
    adapterFor(o).setFont(o, display->Font(fontNumber));
}

void ZafObject::SetDisabled(bool disabled) {
    QObject* o = object_.data();
    adapterFor(o).setDisabled(o, disabled);
}

bool ZafObject::Disabled() const {
    QObject* o = object_.data();
    return adapterFor(o).disabled(o);
}

void ZafObject::SetSelected(bool selected) {
    QObject* o = object_.data();
    adapterFor(o).setSelected(o, selected);
}

bool ZafObject::Selected() const {
    QObject* o = object_.data();
    return adapterFor(o).selected(o);
}

void ZafObject::SetVisible(bool visible) {
    QObject* o = object_.data();
    adapterFor(o).setVisible(o, visible);
}

bool ZafObject::Visible() const {
    QObject* o = object_.data();
    return adapterFor(o).visible(o);
}

void ZafObject::SetSendMessage(ZafEventType event) {
    if (QObject* o = object_.data()) {
        o->setProperty(kEventProperty, event);
        wire(o, adapterFor(o));
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
    QObject* o = object_.data();
    if (!o) {
        return;
    }
    UserFunctionHook* hook = UserFunctionHook::of(o);
    if (!function) {
        delete hook;
    } else if (hook) {
        hook->setFunction(std::move(function));
    } else {
        new UserFunctionHook(o, std::move(function));
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

void ZafObject::SetItems(const QStringList& texts, ZafEventType event, int selected) {
    ClearItems();
    for (const QString& text : texts) {
        AddItem(text, event);
    }
    if (selected >= 0 && selected < texts.size()) {
        SetItemSelected(selected);
    }
}

void ZafObject::ClearItems() {
    QObject* o = object_.data();
    adapterFor(o).clearItems(o);
}

void ZafObject::AddItem(const QString& text, ZafEventType event) {
    QObject* o = object_.data();
    const WidgetAdapter& adapter = adapterFor(o);
    adapter.addItem(o, text, event);
    if (event != N_NONE && adapter.hasItems()) {
        wire(o, adapter);
    }
}

int ZafObject::ItemCount() const {
    QObject* o = object_.data();
    return adapterFor(o).itemCount(o);
}

QString ZafObject::ItemText(int index) const {
    QObject* o = object_.data();
    return adapterFor(o).itemText(o, index);
}

void ZafObject::SetItemSelected(int index, bool selected) {
    QObject* o = object_.data();
    adapterFor(o).setItemSelected(o, index, selected);
}

bool ZafObject::ItemSelected(int index) const {
    QObject* o = object_.data();
    return adapterFor(o).itemSelected(o, index);
}

int ZafObject::SelectedItem() const {
    QObject* o = object_.data();
    return adapterFor(o).selectedItem(o);
}
