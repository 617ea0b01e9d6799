#pragma once
// Windows of the toolkit. A window is loaded by name from a window resource file: the form of
// that name is built inside it, with every child object. Events reach a window's handler; what
// it does not consume goes to its base class, and from a window inside another window on to the
// enclosing window.
#include <QPointer>
#include <QWidget>

#include "toolkit/ZafEvent.h"
#include "toolkit/ZafObject.h"

class UserPersist;

class ZafWindow : public QWidget, public ZafEventHandler {
    Q_OBJECT
public:
    // Loads the window `name` through `reader` (the application's default reader when null).
    // An empty name gives an empty window.
    explicit ZafWindow(const QString& name = QString(), UserPersist* reader = nullptr,
                       QWidget* parent = nullptr);
    ~ZafWindow() override;

    ZafEventType Event(const ZafEventStruct& event) override;

    // The loaded form (nullptr when the resource had no such window).
    QWidget* Form() const { return form_; }
    // This window as an object handle, and lookup of its objects by string identifier.
    ZafObject Object() { return ZafObject(this); }
    ZafObject Get(const QString& identifier) const {
        return ZafObject(const_cast<ZafWindow*>(this)).Get(identifier);
    }

    void SetHelpContext(const QString& context) { helpContext_ = context; }
    QString HelpContext() const { return helpContext_; }
    void SetTitle(const QString& title) { setWindowTitle(title); }
    QString Title() const { return windowTitle(); }

    // Clips the window to the screen and places it in the middle.
    void Center();
    // The object that has the focus inside this window, if any.
    ZafObject Current() const;

    // The enclosing window, and the top-level window this one belongs to.
    ZafWindow* ParentWindow() const;
    ZafWindow* TopWindow();

    // Asked before the window manager closes the window.
    virtual bool QueryClose() { return true; }
    bool CloseRequestPending() const { return closeRequested_; }
    void ClearCloseRequest() { closeRequested_ = false; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* form_ = nullptr;
    QString helpContext_;
    bool closeRequested_ = false;
};

// A dialog window, run modally: its loop takes events from the event manager until the
// dialog's handler returns anything but S_CONTINUE (S_UNKNOWN also keeps it running), the
// dialog is removed from the window manager, or S_EXIT arrives. A dialog's handler therefore
// returns S_CONTINUE for every event after which it should stay open.
class ZafDialogWindow : public ZafWindow {
    Q_OBJECT
public:
    explicit ZafDialogWindow(const QString& name = QString(), UserPersist* reader = nullptr,
                             QWidget* parent = nullptr);

    // Base handling: S_DIALOG_OK and S_CLOSE end the dialog with that code; everything else
    // keeps it running.
    ZafEventType Event(const ZafEventStruct& event) override;

    ZafEventType RunModal();
    bool Running() const { return running_; }
    // Ends the running modal loop with this result (also from inside a nested loop).
    void EndModal(ZafEventType result);

private:
    bool running_ = false;
    bool ended_ = false;
    ZafEventType result_ = S_CONTINUE;
};
