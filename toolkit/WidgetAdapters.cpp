#include "toolkit/WidgetAdapters.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// Where lists and combo boxes keep the event each item was added with.
constexpr int kItemEventRole = Qt::UserRole + 0x2a;

// A plain widget, and the defaults of every widget kind.
class WidgetKind : public WidgetAdapter {
public:
    bool matches(const QObject* o) const override { return qobject_cast<const QWidget*>(o); }
    QString text(QObject* o) const override {
        const QWidget* w = widget(o);
        return w->isWindow() ? w->windowTitle() : QString();
    }
    void setText(QObject* o, const QString& text) const override {
        widget(o)->setWindowTitle(text);
    }
    void setFont(QObject* o, const QFont& font) const override { widget(o)->setFont(font); }
    void setDisabled(QObject* o, bool disabled) const override { widget(o)->setEnabled(!disabled); }
    bool disabled(QObject* o) const override { return !widget(o)->isEnabled(); }
    void setVisible(QObject* o, bool visible) const override { widget(o)->setVisible(visible); }
    bool visible(QObject* o) const override { return !widget(o)->isHidden(); }

private:
    static QWidget* widget(QObject* o) { return static_cast<QWidget*>(o); }
};

// The adapter of class T, built on the defaults of Base.
template <class T, class Base = WidgetKind>
class Kind : public Base {
public:
    bool matches(const QObject* o) const override { return qobject_cast<const T*>(o); }

protected:
    static T* as(QObject* o) { return static_cast<T*>(o); }
};

// A menu item: no widget, but it has all a widget has, and can be checked.
class ActionKind final : public Kind<QAction, WidgetAdapter> {
public:
    QString text(QObject* o) const override { return as(o)->text(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setText(text); }
    void setFont(QObject* o, const QFont& font) const override { as(o)->setFont(font); }
    void setDisabled(QObject* o, bool disabled) const override { as(o)->setEnabled(!disabled); }
    bool disabled(QObject* o) const override { return !as(o)->isEnabled(); }
    void setSelected(QObject* o, bool selected) const override {
        as(o)->setCheckable(true);
        as(o)->setChecked(selected);
    }
    bool selected(QObject* o) const override { return as(o)->isChecked(); }
    void setVisible(QObject* o, bool visible) const override { as(o)->setVisible(visible); }
    bool visible(QObject* o) const override { return as(o)->isVisible(); }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        QObject::connect(as(o), &QAction::triggered, context, [chosen] { chosen(-1); });
    }
};

// A menu is disabled through the item that opens it, so that its title greys in the bar.
class MenuKind final : public Kind<QMenu> {
public:
    QString text(QObject* o) const override { return as(o)->title(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setTitle(text); }
    void setDisabled(QObject* o, bool disabled) const override {
        as(o)->setEnabled(!disabled);
        as(o)->menuAction()->setEnabled(!disabled);
    }
    bool disabled(QObject* o) const override { return !as(o)->menuAction()->isEnabled(); }
};

// The menus of a bar take its font.
class MenuBarKind final : public Kind<QMenuBar> {
public:
    void setFont(QObject* o, const QFont& font) const override {
        WidgetKind::setFont(o, font);
        for (QMenu* menu : as(o)->findChildren<QMenu*>()) {
            menu->setFont(font);
        }
    }
};

class LabelKind final : public Kind<QLabel> {
public:
    QString text(QObject* o) const override { return as(o)->text(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setText(text); }
};

// A text field is chosen and confirmed by Enter.
class LineEditKind final : public Kind<QLineEdit> {
public:
    QString text(QObject* o) const override { return as(o)->text(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setText(text); }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        onConfirmed(o, context, [chosen] { chosen(-1); });
    }
    void onConfirmed(QObject* o, QObject* context, std::function<void()> confirmed) const override {
        QObject::connect(as(o), &QLineEdit::returnPressed, context, std::move(confirmed));
    }
};

// Plain and rich text boxes hold plain text.
template <class T>
class TextBoxKind final : public Kind<T> {
public:
    QString text(QObject* o) const override { return Kind<T>::as(o)->toPlainText(); }
    void setText(QObject* o, const QString& text) const override {
        Kind<T>::as(o)->setPlainText(text);
    }
};

// Push buttons, check boxes and radio buttons.
class ButtonKind final : public Kind<QAbstractButton> {
public:
    QString text(QObject* o) const override { return as(o)->text(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setText(text); }
    void setSelected(QObject* o, bool selected) const override {
        as(o)->setCheckable(true);
        as(o)->setChecked(selected);
    }
    bool selected(QObject* o) const override { return as(o)->isChecked(); }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        QObject::connect(as(o), &QAbstractButton::clicked, context, [chosen] { chosen(-1); });
    }
};

// An editable combo box keeps its edit text while its items change; a fixed one shows only
// texts among its items.
class ComboBoxKind final : public Kind<QComboBox> {
public:
    QString text(QObject* o) const override { return as(o)->currentText(); }
    void setText(QObject* o, const QString& text) const override {
        QComboBox* c = as(o);
        const QSignalBlocker block(c);
        if (c->isEditable()) {
            c->setEditText(text);
        } else if (const int i = c->findText(text); i >= 0) {
            c->setCurrentIndex(i);
        }
    }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        QObject::connect(as(o), &QComboBox::activated, context, std::move(chosen));
    }
    bool hasItems() const override { return true; }
    void clearItems(QObject* o) const override {
        QComboBox* c = as(o);
        const QSignalBlocker block(c);
        const QString edit = editText(c);
        c->clear();
        restoreEditText(c, edit);
    }
    void addItem(QObject* o, const QString& text, ZafEventType event) const override {
        QComboBox* c = as(o);
        const QSignalBlocker block(c);
        const QString edit = editText(c);
        c->addItem(text);
        c->setItemData(c->count() - 1, event, kItemEventRole);
        restoreEditText(c, edit);
    }
    int itemCount(QObject* o) const override { return as(o)->count(); }
    QString itemText(QObject* o, int index) const override { return as(o)->itemText(index); }
    void setItemSelected(QObject* o, int index, bool selected) const override {
        const QSignalBlocker block(as(o));
        if (selected) {
            as(o)->setCurrentIndex(index);
        }
    }
    bool itemSelected(QObject* o, int index) const override {
        return as(o)->currentIndex() == index;
    }
    int selectedItem(QObject* o) const override { return as(o)->currentIndex(); }
    ZafEventType itemEvent(QObject* o, int index) const override {
        return as(o)->itemData(index, kItemEventRole).toInt();
    }

private:
    static QString editText(const QComboBox* c) {
        return c->isEditable() ? c->currentText() : QString();
    }
    static void restoreEditText(QComboBox* c, const QString& text) {
        if (c->isEditable()) {
            c->setEditText(text);
        }
    }
};

// An integer spin box reads and takes its value as a decimal number.
class SpinBoxKind final : public Kind<QSpinBox> {
public:
    QString text(QObject* o) const override { return QString::number(as(o)->value()); }
    void setText(QObject* o, const QString& text) const override {
        const QSignalBlocker block(as(o));
        as(o)->setValue(text.toInt());
    }
};

// Other spin boxes (decimal numbers, dates, times) read and take the text they show.
class AnySpinBoxKind final : public Kind<QAbstractSpinBox> {
public:
    QString text(QObject* o) const override { return as(o)->text(); }
    void setText(QObject* o, const QString& text) const override {
        QAbstractSpinBox* x = as(o);
        auto* edit = x->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        if (edit) {
            const QSignalBlocker block(x);
            edit->setText(text);
            x->interpretText();
        }
    }
};

// A list's text is its current item's; the user chooses by moving the current row.
class ListKind final : public Kind<QListWidget> {
public:
    QString text(QObject* o) const override {
        const QListWidgetItem* current = as(o)->currentItem();
        return current ? current->text() : QString();
    }
    void setText(QObject* o, const QString& text) const override {
        QListWidget* l = as(o);
        const QSignalBlocker block(l);
        const QList<QListWidgetItem*> found = l->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty()) {
            l->setCurrentItem(found.first());
        }
    }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        QObject::connect(as(o), &QListWidget::currentRowChanged, context, std::move(chosen));
    }
    bool hasItems() const override { return true; }
    void clearItems(QObject* o) const override {
        const QSignalBlocker block(as(o));
        as(o)->clear();
    }
    void addItem(QObject* o, const QString& text, ZafEventType event) const override {
        const QSignalBlocker block(as(o));
        auto* item = new QListWidgetItem(text, as(o));
        item->setData(kItemEventRole, event);
    }
    int itemCount(QObject* o) const override { return as(o)->count(); }
    QString itemText(QObject* o, int index) const override {
        const QListWidgetItem* item = as(o)->item(index);
        return item ? item->text() : QString();
    }
    void setItemSelected(QObject* o, int index, bool selected) const override {
        QListWidget* l = as(o);
        const QSignalBlocker block(l);
        if (QListWidgetItem* item = l->item(index)) {
            item->setSelected(selected);
            if (selected) {
                l->setCurrentItem(item);
            }
        }
    }
    bool itemSelected(QObject* o, int index) const override {
        const QListWidgetItem* item = as(o)->item(index);
        return item && item->isSelected();
    }
    int selectedItem(QObject* o) const override { return as(o)->currentRow(); }
    ZafEventType itemEvent(QObject* o, int index) const override {
        const QListWidgetItem* item = as(o)->item(index);
        return item ? item->data(kItemEventRole).toInt() : N_NONE;
    }
};

class GroupBoxKind final : public Kind<QGroupBox> {
public:
    QString text(QObject* o) const override { return as(o)->title(); }
    void setText(QObject* o, const QString& text) const override { as(o)->setTitle(text); }
};

// A tab set's text is its current tab's title; turning to another tab chooses it.
class TabsKind final : public Kind<QTabWidget> {
public:
    QString text(QObject* o) const override { return as(o)->tabText(as(o)->currentIndex()); }
    void setText(QObject* o, const QString& text) const override {
        as(o)->setTabText(as(o)->currentIndex(), text);
    }
    void onChosen(QObject* o, QObject* context, Chosen chosen) const override {
        QObject::connect(as(o), &QTabWidget::currentChanged, context, [chosen] { chosen(-1); });
    }
};

const ActionKind kAction;
const MenuKind kMenu;
const MenuBarKind kMenuBar;
const LabelKind kLabel;
const LineEditKind kLineEdit;
const TextBoxKind<QPlainTextEdit> kPlainTextBox;
const TextBoxKind<QTextEdit> kRichTextBox;
const ButtonKind kButton;
const ComboBoxKind kComboBox;
const SpinBoxKind kSpinBox;
const AnySpinBoxKind kAnySpinBox;
const ListKind kList;
const GroupBoxKind kGroupBox;
const TabsKind kTabs;
const WidgetKind kWidget;
const WidgetAdapter kNoKind;

// Most specific first: a class comes before any class it derives from.
const WidgetAdapter* const kKinds[] = {
    &kAction,        // QAction
    &kMenu,          // QMenu
    &kMenuBar,       // QMenuBar
    &kLabel,         // QLabel
    &kLineEdit,      // QLineEdit
    &kPlainTextBox,  // QPlainTextEdit
    &kRichTextBox,   // QTextEdit
    &kButton,        // QAbstractButton
    &kComboBox,      // QComboBox
    &kSpinBox,       // QSpinBox
    &kAnySpinBox,    // QAbstractSpinBox
    &kList,          // QListWidget
    &kGroupBox,      // QGroupBox
    &kTabs,          // QTabWidget
    &kWidget,        // QWidget
};

}  // namespace

const WidgetAdapter& adapterFor(const QObject* object) {
    for (const WidgetAdapter* kind : kKinds) {
        if (kind->matches(object)) {
            return *kind;
        }
    }
    return kNoKind;
}
