#pragma once
// A handle on one object of a loaded window (a widget, a menu, a menu item, ...), with the
// operations the program uses on objects whatever their kind: texts, fonts, disabled and
// selected states, the event an object sends when selected, child management, regions, list
// items and user functions. A handle does not own its object and turns empty when the object
// is destroyed.
#include <QPointer>
#include <QStringList>
#include <functional>

#include "toolkit/ZafEvent.h"

class QWidget;
class ZafWindow;

class ZafObject {
public:
    // Called with the field and each logical event of it; its result is the field's answer.
    using UserFunction = std::function<ZafEventType(ZafObject field, ZafEventType event)>;

    ZafObject() = default;
    explicit ZafObject(QObject* object) : object_(object) {}

    explicit operator bool() const { return !object_.isNull(); }
    QObject* object() const { return object_.data(); }
    QWidget* widget() const;
    template <class T>
    T* as() const {
        return qobject_cast<T*>(object_.data());
    }
    bool operator==(const ZafObject& other) const { return object() == other.object(); }

    // The string identifier.
    QString Identifier() const;
    // Depth-first search of the children (and menus' items); "A~B" finds B inside A.
    ZafObject Get(const QString& identifier) const;
    // The window that receives this object's events.
    ZafWindow* Window() const;

    QString Text() const;
    void SetText(const QString& text);
    // A font registered with the display; ZafDisplay::kKeepFont keeps the current one.
    void SetFont(int fontNumber);
    void SetDisabled(bool disabled);
    bool Disabled() const;
    void SetSelected(bool selected);
    bool Selected() const;
    void SetVisible(bool visible);
    bool Visible() const;

    // Selecting the object (pressing a button, choosing a menu item, confirming a field)
    // sends this event to its window; 0 switches sending off.
    void SetSendMessage(ZafEventType event);
    ZafEventType SendMessage() const;
    // The events that a window resource assigned to its objects (property "zafEvent").
    static void WireResourceEvents(QObject* root);

    // The object's one user function: a later call replaces it, an empty function removes it,
    // also from inside the function itself.
    void SetUserFunction(UserFunction function);

    // Child management: adds a widget to this object's layout (the object's own children in
    // order are its items), removes it without destroying it.
    void Add(QWidget* child);
    void Subtract(QWidget* child);
    int Count() const;
    ZafObject Child(int index) const;

    // Items of lists and combo boxes.
    void ClearItems();
    void AddItem(const QString& text, ZafEventType event = N_NONE);
    int ItemCount() const;
    QString ItemText(int index) const;
    void SetItemSelected(int index, bool selected = true);
    bool ItemSelected(int index) const;
    int SelectedItem() const;  // -1 when none
    // Replaces the items with `texts`, each sending `event` unless it is N_NONE, and selects the
    // item at `selected` when there is one.
    void SetItems(const QStringList& texts, ZafEventType event, int selected);

private:
    QPointer<QObject> object_;
};
