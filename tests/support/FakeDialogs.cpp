#include "tests/support/FakeDialogs.h"

#include <QDialog>
#include <QFileInfo>
#include <QPrinter>
#include <algorithm>

namespace {

class FakeNotice : public AbortableNotice {
public:
    FakeNotice(FakeDialogs& dialogs, int pollsBeforeAbort)
        : dialogs_(dialogs), remaining_(pollsBeforeAbort) {
        dialogs_.mostNoticesShown = qMax(dialogs_.mostNoticesShown, ++dialogs_.noticesShown);
    }
    ~FakeNotice() override { --dialogs_.noticesShown; }
    bool aborted() const override {
        if (dialogs_.whileNoticeShown) {
            dialogs_.whileNoticeShown();
        }
        if (remaining_ <= 0) {
            return remaining_ == 0;
        }
        return --remaining_ == 0;
    }

private:
    FakeDialogs& dialogs_;
    mutable int remaining_;
};

class FakeWaitNotice : public WaitNotice {
public:
    explicit FakeWaitNotice(int& shown) : shown_(shown) { ++shown_; }
    ~FakeWaitNotice() override { --shown_; }

private:
    int& shown_;
};

// The front answer of a queue, or `otherwise` when the test gave none.
template <class T>
T takeFront(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) {
        return otherwise;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

void PrintTo(const ShownMessage& m, std::ostream* os) {
    *os << "{kind " << int(m.kind) << ", \"" << m.title.toStdString() << "\", \""
        << m.text.toStdString() << "\"}";
}

FakeDialogs::FakeDialogs() {
    setUserDialogs(this);
}

FakeDialogs::~FakeDialogs() {
    setUserDialogs(nullptr);
}

int FakeDialogs::count(MessageKind kind) const {
    return static_cast<int>(
        std::count_if(messages.begin(), messages.end(),
                      [kind](const ShownMessage& m) { return m.kind == kind; }));
}

void FakeDialogs::clear() {
    messages.clear();
    textInputTitles.clear();
    fileDialogCaptions.clear();
    noticeTexts.clear();
    waitNoticeTexts.clear();
    printDialogsShown = 0;
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
    // A question, or a box of another kind that asks with Yes and No.
    const bool asks = kind == MessageKind::Question || buttons.testFlag(QMessageBox::Yes);
    if (asks && !questionAnswers.empty()) {
        return takeFront(questionAnswers, QMessageBox::NoButton);
    }
    if (defaultButton != QMessageBox::NoButton) {
        return defaultButton;
    }
    return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::NoButton;
}

std::optional<QString> FakeDialogs::textInput(const QString& title, const QString&,
                                              QLineEdit::EchoMode, const QString&, QWidget*) {
    textInputTitles << title;
    return takeFront(textAnswers, std::optional<QString>());
}

QString FakeDialogs::openFileName(const QString& caption, const QString&, const QString&,
                                  QWidget*) {
    fileDialogCaptions << caption;
    return takeFront(openFileAnswers, QString());
}

QString FakeDialogs::saveFileName(const QString& caption, const QString&, const QString&,
                                  QFileDialog::Options options, QWidget*) {
    fileDialogCaptions << caption;
    const QString answer = takeFront(saveFileAnswers, QString());
    const QFileInfo chosen(answer);
    if (!answer.isEmpty() && chosen.exists() &&
        !options.testFlag(QFileDialog::DontConfirmOverwrite)) {
        messages.push_back({MessageKind::Warning, caption,
                            QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                .arg(chosen.fileName())});
    }
    return answer;
}

int FakeDialogs::exec(QDialog& dialog) {
    auto script = takeFront(formScripts, std::function<int(QDialog&)>());
    return script ? script(dialog) : int(QDialog::Rejected);
}

bool FakeDialogs::printDialog(QPrinter& printer, QWidget*) {
    ++printDialogsShown;
    const QString file = takeFront(printFileAnswers, QString());
    if (file.isEmpty()) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

std::unique_ptr<AbortableNotice> FakeDialogs::showAbortable(const QString&, const QString& text,
                                                            const QString&) {
    noticeTexts << text;
    return std::make_unique<FakeNotice>(*this, abortAfterPolls);
}

std::unique_ptr<WaitNotice> FakeDialogs::showWaitNotice(const QString&, const QString& text) {
    waitNoticeTexts << text;
    return std::make_unique<FakeWaitNotice>(waitNoticesShown);
}
