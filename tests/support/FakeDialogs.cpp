#include "tests/support/FakeDialogs.h"

#include <QDialog>
#include <algorithm>

namespace {

class FakeNotice : public AbortableNotice {
public:
    explicit FakeNotice(int pollsBeforeAbort) : remaining_(pollsBeforeAbort) {}
    bool aborted() const override {
        if (remaining_ < 0) {
            return false;
        }
        if (remaining_ == 0) {
            return true;
        }
        --remaining_;
        return remaining_ == 0;
    }

private:
    mutable int remaining_;
};

}  // namespace

FakeDialogs::FakeDialogs() { setUserDialogs(this); }

FakeDialogs::~FakeDialogs() { setUserDialogs(nullptr); }

int FakeDialogs::count(MessageKind kind) const {
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                          [kind](const ShownMessage& m) { return m.kind == kind; }));
}

void FakeDialogs::clear() {
    messages.clear();
    textInputTitles.clear();
    fileDialogCaptions.clear();
    noticeTexts.clear();
}

QMessageBox::StandardButton FakeDialogs::message(MessageKind kind, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton,
                                                 QWidget*) {
    messages.push_back({kind, title, text});
    if (onMessage) {
        onMessage(messages.back());
    }
    if (kind == MessageKind::Question && !questionAnswers.empty()) {
        const auto answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }
    if (defaultButton != QMessageBox::NoButton) {
        return defaultButton;
    }
    return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::NoButton;
}

std::optional<QString> FakeDialogs::textInput(const QString& title, const QString&,
                                              QLineEdit::EchoMode, const QString&, QWidget*) {
    textInputTitles << title;
    if (textAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

QString FakeDialogs::openFileName(const QString& caption, const QString&, const QString&,
                                  QWidget*) {
    fileDialogCaptions << caption;
    if (openFileAnswers.empty()) {
        return QString();
    }
    QString answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

QString FakeDialogs::saveFileName(const QString& caption, const QString&, const QString&,
                                  QWidget*) {
    fileDialogCaptions << caption;
    if (saveFileAnswers.empty()) {
        return QString();
    }
    QString answer = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return answer;
}

int FakeDialogs::exec(QDialog& dialog) {
    if (formScripts.empty()) {
        return QDialog::Rejected;
    }
    auto script = std::move(formScripts.front());
    formScripts.pop_front();
    return script(dialog);
}

std::unique_ptr<AbortableNotice> FakeDialogs::showAbortable(const QString&, const QString& text,
                                                            const QString&) {
    noticeTexts << text;
    return std::make_unique<FakeNotice>(abortAfterPolls);
}
