#pragma once
// How the window layer reads and changes each kind of object it handles. Every kind (label,
// text field, text box, button, menu item, menu, list, combo box, spin box, group, tab set,
// plain widget) has one adapter that says, once, what that kind does; adapterFor() finds an
// object's adapter with one lookup, the most specific class first.
//
// The base class is the adapter of objects of no known kind, and its answers are the defaults
// for what a kind does not support: no text, not disabled, not selected, no items, no choice.
// Widget kinds start from the plain widget's adapter instead: its text is the window title,
// disabling disables the widget, hiding hides it.
#include <QString>
#include <functional>

#include "toolkit/ZafEvent.h"

class QFont;
class QObject;

class WidgetAdapter {
public:
    // Told the index of the item the user chose, or -1 for kinds without items.
    using Chosen = std::function<void(int item)>;

    WidgetAdapter() = default;
    WidgetAdapter(const WidgetAdapter&) = delete;
    WidgetAdapter& operator=(const WidgetAdapter&) = delete;
    virtual ~WidgetAdapter() = default;

    // Whether `object` is of this adapter's kind (null never is).
    virtual bool matches(const QObject*) const { return false; }

    virtual QString text(QObject*) const { return QString(); }
    virtual void setText(QObject*, const QString&) const {}
    virtual void setFont(QObject*, const QFont&) const {}
    virtual void setDisabled(QObject*, bool) const {}
    virtual bool disabled(QObject*) const { return false; }
    // Selecting makes the object checkable where it can be checked at all.
    virtual void setSelected(QObject*, bool) const {}
    virtual bool selected(QObject*) const { return false; }
    virtual void setVisible(QObject*, bool) const {}
    virtual bool visible(QObject*) const { return false; }

    // Connects the user's choice (pressing a button, choosing a menu item or a list item,
    // confirming a field, turning to a tab) to `chosen`, for as long as `context` lives.
    virtual void onChosen(QObject*, QObject* /*context*/, Chosen) const {}
    // Connects the confirmation of a text field (Enter); only text fields have one.
    virtual void onConfirmed(QObject*, QObject* /*context*/, std::function<void()>) const {}

    // Items of lists and combo boxes; changing them never raises the user's choice.
    virtual bool hasItems() const { return false; }
    virtual void clearItems(QObject*) const {}
    virtual void addItem(QObject*, const QString&, ZafEventType /*event*/) const {}
    virtual int itemCount(QObject*) const { return 0; }
    virtual QString itemText(QObject*, int) const { return QString(); }
    virtual void setItemSelected(QObject*, int, bool) const {}
    virtual bool itemSelected(QObject*, int) const { return false; }
    virtual int selectedItem(QObject*) const { return -1; }  // -1 when none
    // The event an item was added with; N_NONE for none or no such item.
    virtual ZafEventType itemEvent(QObject*, int) const { return N_NONE; }
};

// The adapter of `object`'s kind; the base adapter for null and for objects of no known kind.
const WidgetAdapter& adapterFor(const QObject* object);
