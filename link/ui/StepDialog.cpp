#include "link/ui/StepDialog.h"

#include <QProgressBar>

#include "link/EraseCommands.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafEventManager.h"

namespace tolm {

StepDialog::StepDialog(const QString& name, UserPersist* reader, int normalFont, int midFont,
                       int linePoints)
    : ZafDialogWindow(name, reader) {
    Object().SetFont(normalFont);
    lineFont_ = zafDisplay()->RegisterFont(QStringLiteral("Courier New"), linePoints, 0, 0);
    status_ = Get(QStringLiteral("P_STATUS"));
    status_.SetFont(midFont);
    status_.SetText(QString());
    gauge_ = Get(QStringLiteral("STATUS"));
    timer_ = std::make_unique<ZafTimer>(kProgressTickMs, kTickEvent);
    timer_->Add(this);
}

StepDialog::~StepDialog() {
    zafEventManager()->Subtract(timer_.get());
    timer_.reset();
    zafDisplay()->DestroyFont(lineFont_);
}

void StepDialog::StartTicks() {
    zafEventManager()->Add(timer_.get());
}

void StepDialog::StopTicks() {
    zafEventManager()->Subtract(timer_.get());
}

QString StepDialog::StatusText() const {
    return status_.Text();
}

void StepDialog::SetStatus(const QString& text) {
    status_.SetText(text);
}

void StepDialog::SetGauge(int value, int maximum, const QString& format) {
    if (auto* bar = gauge_.as<QProgressBar>()) {
        if (!format.isEmpty()) {
            bar->setFormat(format);
        }
        bar->setRange(0, maximum);
        bar->setValue(value);
    }
}

ZafEventType StepDialog::Event(const ZafEventStruct& event) {
    if (event.isRawKeyDown()) {
        if (event.key == VK::F5) {
            ButtonPressed();
            return S_CONTINUE;
        }
        if (!passOtherKeys_) {
            return S_CONTINUE;
        }
    }
    switch (event.type) {
        case kTickEvent:
            Tick();
            return S_CONTINUE;
        case kButtonEvent:
        case S_CLOSE:  // the window's close box
            ButtonPressed();
            return S_CONTINUE;
        default:
            return ZafDialogWindow::Event(event);
    }
}

}  // namespace tolm
