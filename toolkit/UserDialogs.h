#pragma once
// The one seam through which the program talks to the user in a modal way: message boxes,
// questions, text input, file-name dialogs, designer-built forms and the non-blocking notice
// with an Abort button. The program never opens one of Qt's dialogs directly; tests install a
// scripted fake so that nothing blocks.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

#include "core/Notice.h"

class QDialog;
class QPrinter;
class QWidget;

enum class MessageKind { Information, Warning, Critical, Question };

// A message shown while the program goes on working; it closes when destroyed.
class AbortableNotice {
public:
    virtual ~AbortableNotice() = default;
    // True once the user pressed the notice's button.
    virtual bool aborted() const = 0;
};

// A message shown while the program goes on working, without buttons; it closes when destroyed.
class WaitNotice {
public:
    virtual ~WaitNotice() = default;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box. Returns the button pressed.
    virtual QMessageBox::StandardButton message(MessageKind kind, const QString& title,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton,
                                                QWidget* parent) = 0;
    // A one-line text input; empty optional when cancelled.
    virtual std::optional<QString> textInput(const QString& title, const QString& label,
                                             QLineEdit::EchoMode echo, const QString& initial,
                                             QWidget* parent) = 0;
    // File names; empty when cancelled.
    virtual QString openFileName(const QString& caption, const QString& directory,
                                 const QString& filter, QWidget* parent) = 0;
    // The save dialog runs with `options`: without QFileDialog::DontConfirmOverwrite it asks
    // its own question when the name chosen exists.
    virtual QString saveFileName(const QString& caption, const QString& directory,
                                 const QString& filter, QFileDialog::Options options,
                                 QWidget* parent) = 0;
    // Runs a designer-built form modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int exec(QDialog& dialog) = 0;
    // The print dialog over `printer`; true when the user chose to print (the printer then
    // holds the choices made).
    virtual bool printDialog(QPrinter& printer, QWidget* parent) = 0;
    // Shows a notice with one button that does not block the caller; it is modal to the whole
    // program (no other window takes input meanwhile), so that its button works even over a
    // modal dialog.
    virtual std::unique_ptr<AbortableNotice> showAbortable(const QString& title,
                                                           const QString& text,
                                                           const QString& buttonText) = 0;
    // Shows a non-blocking notice without buttons.
    virtual std::unique_ptr<WaitNotice> showWaitNotice(const QString& title,
                                                       const QString& text) = 0;
};

// The seam in use: Qt's own dialogs unless a test installed another.
UserDialogs& userDialogs();
// Installs a seam (nullptr restores Qt's dialogs). The caller keeps ownership.
void setUserDialogs(UserDialogs* dialogs);

// Shorthands for the common boxes with one OK button.
void showInformation(const QString& title, const QString& text, QWidget* parent = nullptr);
void showWarning(const QString& title, const QString& text, QWidget* parent = nullptr);
void showCritical(const QString& title, const QString& text, QWidget* parent = nullptr);
// A question with Yes and No; No is the default and the Escape answer.
bool askYesNo(const QString& title, const QString& text, QWidget* parent = nullptr);
// The save dialog that never asks about an existing file: the program asks its own question
// where it wants one (about the name it will write, suffix included), so no save asks twice.
QString chooseSaveFileName(const QString& caption, const QString& directory, const QString& filter,
                           QWidget* parent = nullptr);

// Shows what a core operation returned: one box per notice, in order.
void showNotice(const tolm::Notice& notice, QWidget* parent = nullptr);
void showNotices(const tolm::Notices& notices, QWidget* parent = nullptr);
