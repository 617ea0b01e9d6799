#include "toolkit/ZafWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

ZafWindow::ZafWindow(const QString& name, UserPersist* reader, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (name.isEmpty()) {
        return;
    }
    if (!reader && zafApplication()) {
        reader = zafApplication()->DefaultReader();
    }
    form_ = reader ? reader->Load(name, this) : nullptr;
    if (!form_) {
        return;
    }
    const QSize size = form_->size();
    if (form_->isWindow()) {
        form_->setWindowFlags(Qt::Widget);  // a main-window form lives inside this window
    }
    layout->addWidget(form_);
    setWindowTitle(form_->windowTitle());
    resize(size);
    ZafObject::WireResourceEvents(this);
}

ZafWindow::~ZafWindow() {
    if (ZafWindowManager* wm = zafWindowManager()) {
        wm->Subtract(this);
    }
}

ZafEventType ZafWindow::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case S_CLOSE:
            if (isWindow()) {
                closeRequested_ = true;
                return 0;
            }
            break;
        case S_EXIT:
            return S_EXIT;
        default:
            break;
    }
    if (ZafWindow* parent = ParentWindow()) {
        return parent->Event(event);
    }
    return S_UNKNOWN;
}

void ZafWindow::Center() {
    QSize screen(1024, 768);
    if (ZafDisplay* display = zafDisplay()) {
        screen = display->ScreenSize();
    }
    const QSize size = this->size().boundedTo(screen);
    resize(size);
    move((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
}

ZafObject ZafWindow::Current() const {
    QWidget* focus = QApplication::focusWidget();
    return (focus && isAncestorOf(focus)) ? ZafObject(focus) : ZafObject();
}

ZafWindow* ZafWindow::ParentWindow() const {
    if (isWindow()) {
        return nullptr;
    }
    for (QObject* o = parent(); o; o = o->parent()) {
        if (auto* window = qobject_cast<ZafWindow*>(o)) {
            return window;
        }
    }
    return nullptr;
}

ZafWindow* ZafWindow::TopWindow() {
    ZafWindow* top = this;
    while (ZafWindow* parent = top->ParentWindow()) {
        top = parent;
    }
    return top;
}

void ZafWindow::keyPressEvent(QKeyEvent* event) {
    const int vk = VirtualKeyFromQt(event->key(), event->modifiers() & Qt::KeypadModifier);
    ZafEventManager* em = zafEventManager();
    if (vk == 0 || !em) {
        QWidget::keyPressEvent(event);
        return;
    }
    ZafEventStruct raw = ZafEventStruct::rawKeyDown(vk, this);
    if (event->modifiers() & Qt::AltModifier) {
        raw.message = WinMsg::SysKeyDown;
    }
    em->Put(raw);
    event->accept();
}

void ZafWindow::closeEvent(QCloseEvent* event) {
    ZafWindowManager* wm = zafWindowManager();
    ZafEventManager* em = zafEventManager();
    if (wm && em && wm->Contains(this)) {
        // The window system's close box asks like any other close: through the handler.
        event->ignore();
        em->Put(ZafEventStruct(S_CLOSE, this, this));
        return;
    }
    QWidget::closeEvent(event);
}

ZafDialogWindow::ZafDialogWindow(const QString& name, UserPersist* reader, QWidget* parent)
    : ZafWindow(name, reader, parent) {
    setWindowFlag(Qt::Dialog);
}

ZafEventType ZafDialogWindow::Event(const ZafEventStruct& event) {
    switch (event.type) {
        case S_DIALOG_OK:
        case S_CLOSE:
        case S_EXIT:
            return event.type;
        default: {
            const ZafEventType result = ZafWindow::Event(event);
            return result == S_UNKNOWN ? S_CONTINUE : result;
        }
    }
}

void ZafDialogWindow::EndModal(ZafEventType result) {
    if (running_ && !ended_) {
        ended_ = true;
        result_ = result;
        zafEventManager()->Wake();
    }
}

ZafEventType ZafDialogWindow::RunModal() {
    ZafWindowManager* wm = zafWindowManager();
    ZafEventManager* em = zafEventManager();
    running_ = true;
    ended_ = false;
    result_ = S_CONTINUE;
    setWindowModality(Qt::ApplicationModal);
    wm->Add(this);
    QPointer<ZafDialogWindow> self(this);
    while (self && !ended_ && wm->Contains(this)) {
        ZafEventStruct event;
        em->Get(event, ZafEventManager::Q_WAIT);
        if (ZafEventManager::IsWake(event)) {
            continue;
        }
        if (!self || ended_ || !wm->Contains(this)) {
            // Ended while the event was on its way: it belongs to whoever runs next.
            em->PutFront(event);
            break;
        }
        if (event.type == S_EXIT) {
            EndModal(S_EXIT);
            em->PutFront(event);  // the exit also ends the loops outside this one
            break;
        }
        if (event.type >= S_SYSTEM_FIRST && event.type <= S_SYSTEM_LAST) {
            const ZafEventType result = Event(event);
            if (result != S_CONTINUE && result != S_UNKNOWN) {
                EndModal(result);
            }
        } else {
            wm->Event(event);
        }
    }
    if (!self) {
        return S_CLOSE;
    }
    running_ = false;
    wm->Subtract(this);
    return ended_ ? result_ : S_CLOSE;
}
