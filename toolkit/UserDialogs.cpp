#include "toolkit/UserDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace {

class QtNotice : public AbortableNotice {
public:
    QtNotice(const QString& title, const QString& text, const QString& buttonText)
        : box_(QMessageBox::NoIcon, title, text, QMessageBox::NoButton) {
        button_ = box_.addButton(buttonText, QMessageBox::RejectRole);
        QObject::connect(button_, &QPushButton::clicked, [this] { aborted_ = true; });
        // Modal to the whole program but shown without a loop of its own: the caller goes on
        // working, and the notice's button can be pressed even over a modal dialog, whose input
        // it blocks meanwhile.
        box_.setWindowModality(Qt::ApplicationModal);
        box_.show();
    }
    bool aborted() const override { return aborted_; }

private:
    QMessageBox box_;
    QPushButton* button_ = nullptr;
    bool aborted_ = false;
};

class QtWaitNotice : public WaitNotice {
public:
    QtWaitNotice(const QString& title, const QString& text)
        : box_(QMessageBox::Information, title, text, QMessageBox::NoButton) {
        box_.setModal(false);
        box_.show();
    }

private:
    QMessageBox box_;
};

class QtDialogs : public UserDialogs {
public:
    QMessageBox::StandardButton message(MessageKind kind, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton,
                                        QWidget* parent) override {
        switch (kind) {
            case MessageKind::Information:
                return QMessageBox::information(parent, title, text, buttons, defaultButton);
            case MessageKind::Warning:
                return QMessageBox::warning(parent, title, text, buttons, defaultButton);
            case MessageKind::Critical:
                return QMessageBox::critical(parent, title, text, buttons, defaultButton);
            case MessageKind::Question:
                return QMessageBox::question(parent, title, text, buttons, defaultButton);
        }
        return QMessageBox::NoButton;
    }
    std::optional<QString> textInput(const QString& title, const QString& label,
                                     QLineEdit::EchoMode echo, const QString& initial,
                                     QWidget* parent) override {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, title, label, echo, initial, &ok);
        if (!ok) {
            return std::nullopt;
        }
        return text;
    }
    QString openFileName(const QString& caption, const QString& directory, const QString& filter,
                         QWidget* parent) override {
        return QFileDialog::getOpenFileName(parent, caption, directory, filter);
    }
    QString saveFileName(const QString& caption, const QString& directory, const QString& filter,
                         QFileDialog::Options options, QWidget* parent) override {
        return QFileDialog::getSaveFileName(parent, caption, directory, filter, nullptr, options);
    }
    int exec(QDialog& dialog) override { return dialog.exec(); }
    bool printDialog(QPrinter& printer, QWidget* parent) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    std::unique_ptr<AbortableNotice> showAbortable(const QString& title, const QString& text,
                                                   const QString& buttonText) override {
        return std::make_unique<QtNotice>(title, text, buttonText);
    }
    std::unique_ptr<WaitNotice> showWaitNotice(const QString& title, const QString& text) override {
        return std::make_unique<QtWaitNotice>(title, text);
    }
};

QtDialogs qtDialogs;
UserDialogs* current = &qtDialogs;

}  // namespace

UserDialogs& userDialogs() {
    return *current;
}

void setUserDialogs(UserDialogs* dialogs) {
    current = dialogs ? dialogs : &qtDialogs;
}

void showInformation(const QString& title, const QString& text, QWidget* parent) {
    userDialogs().message(MessageKind::Information, title, text, QMessageBox::Ok, QMessageBox::Ok,
                          parent);
}
void showWarning(const QString& title, const QString& text, QWidget* parent) {
    userDialogs().message(MessageKind::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok,
                          parent);
}
void showCritical(const QString& title, const QString& text, QWidget* parent) {
    userDialogs().message(MessageKind::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok,
                          parent);
}
bool askYesNo(const QString& title, const QString& text, QWidget* parent) {
    return userDialogs().message(MessageKind::Question, title, text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                 parent) == QMessageBox::Yes;
}

QString chooseSaveFileName(const QString& caption, const QString& directory, const QString& filter,
                           QWidget* parent) {
    return userDialogs().saveFileName(caption, directory, filter, QFileDialog::DontConfirmOverwrite,
                                      parent);
}

void showNotice(const tolm::Notice& notice, QWidget* parent) {
    switch (notice.kind) {
        case tolm::Notice::Kind::Information:
            showInformation(notice.title, notice.text, parent);
            break;
        case tolm::Notice::Kind::Warning:
            showWarning(notice.title, notice.text, parent);
            break;
        case tolm::Notice::Kind::Critical:
            showCritical(notice.title, notice.text, parent);
            break;
    }
}

void showNotices(const tolm::Notices& notices, QWidget* parent) {
    for (const tolm::Notice& notice : notices) {
        showNotice(notice, parent);
    }
}
