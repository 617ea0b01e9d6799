#pragma once
// Buttons. ZafButton gives a push button an event handler that hears when it becomes the current
// object and when it stops being it. BRIXButton uses that to show a short help text: while it
// has the focus, the content of its help file is shown in a text object of the window.
#include <QPointer>
#include <QPushButton>

#include "toolkit/ZafEvent.h"
#include "toolkit/ZafObject.h"

// A toolkit colour: a foreground and a background colour number (253 and 254: the defaults).
struct ZafPaletteEntry {
    int foreground = 253;
    int background = 254;
    bool operator==(const ZafPaletteEntry&) const = default;
};

class ZafButton : public QPushButton, public ZafEventHandler {
    Q_OBJECT
public:
    explicit ZafButton(QWidget* parent = nullptr);
    ZafEventType Event(const ZafEventStruct& event) override;

    // The two highlight colours of the button.
    void SetHighlightColors(ZafPaletteEntry normal, ZafPaletteEntry selected);
    ZafPaletteEntry HighlightNormal() const { return highlightNormal_; }
    ZafPaletteEntry HighlightSelected() const { return highlightSelected_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ZafPaletteEntry highlightNormal_;
    ZafPaletteEntry highlightSelected_;
};

class BRIXButton : public ZafButton {
    Q_OBJECT
public:
    explicit BRIXButton(QWidget* parent = nullptr);

    // The text object that shows the help, and the help file's name in the executable's
    // directory.
    void SetHelpFile(ZafObject target, const QString& fileName);
    QString HelpFile() const { return helpFile_; }

    ZafEventType Event(const ZafEventStruct& event) override;

private:
    QPointer<QObject> helpTarget_;
    QString helpFile_;
};
