#pragma once
// A scripted stand-in for the user: records every box the program shows and answers questions,
// text inputs, file dialogs, forms and Abort notices from queues the test fills beforehand.
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "toolkit/UserDialogs.h"

struct ShownMessage {
    MessageKind kind;
    QString title;
    QString text;
    bool operator==(const ShownMessage&) const = default;
};
using Boxes = std::vector<ShownMessage>;
// How a failed expectation prints a box.
void PrintTo(const ShownMessage& m, std::ostream* os);

class FakeDialogs : public UserDialogs {
public:
    FakeDialogs();            // installs itself
    ~FakeDialogs() override;  // restores Qt's dialogs

    // What was shown, in order.
    std::vector<ShownMessage> messages;
    QStringList textInputTitles;
    // A save dialog without QFileDialog::DontConfirmOverwrite that is answered with an existing
    // file also adds the warning Qt's own dialog would have shown to `messages`, so that a save
    // that asks twice shows two boxes here too.
    QStringList fileDialogCaptions;
    QStringList noticeTexts;
    // Texts of the notices without buttons shown so far, and how many are still shown.
    QStringList waitNoticeTexts;
    int waitNoticesShown = 0;

    // Answers, taken front first. An unscripted question is answered with its default button,
    // an unscripted text input or file dialog as cancelled, an unscripted form as rejected.
    std::deque<QMessageBox::StandardButton> questionAnswers;
    std::deque<std::optional<QString>> textAnswers;
    std::deque<QString> openFileAnswers;
    std::deque<QString> saveFileAnswers;
    std::deque<std::function<int(QDialog&)>> formScripts;
    // Print dialogs: each answer is the PDF file the printer writes to; an unscripted print
    // dialog is cancelled.
    std::deque<QString> printFileAnswers;
    int printDialogsShown = 0;
    // The Abort button of a notice is pressed after this many aborted() polls (-1: never).
    int abortAfterPolls = -1;
    // Abortable notices shown now, and the most ever shown at once.
    int noticesShown = 0;
    int mostNoticesShown = 0;
    // Called at every look at an abortable notice (for acting while the program waits).
    std::function<void()> whileNoticeShown;
    // Called whenever a message box is shown, after it was recorded (for acting "during" it).
    std::function<void(const ShownMessage&)> onMessage;

    // Shorthands for assertions.
    const ShownMessage& last() const { return messages.back(); }
    int count(MessageKind kind) const;
    void clear();

    QMessageBox::StandardButton message(MessageKind kind, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton,
                                        QWidget* parent) override;
    std::optional<QString> textInput(const QString& title, const QString& label,
                                     QLineEdit::EchoMode echo, const QString& initial,
                                     QWidget* parent) override;
    QString openFileName(const QString& caption, const QString& directory, const QString& filter,
                         QWidget* parent) override;
    QString saveFileName(const QString& caption, const QString& directory, const QString& filter,
                         QFileDialog::Options options, QWidget* parent) override;
    int exec(QDialog& dialog) override;
    bool printDialog(QPrinter& printer, QWidget* parent) override;
    std::unique_ptr<AbortableNotice> showAbortable(const QString& title, const QString& text,
                                                   const QString& buttonText) override;
    std::unique_ptr<WaitNotice> showWaitNotice(const QString& title, const QString& text) override;
};
