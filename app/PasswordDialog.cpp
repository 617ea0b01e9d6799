#include "app/PasswordDialog.h"

#include "ui_PasswordDialog.h"

namespace tolm {

PasswordDialog::PasswordDialog(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PasswordDialog>()) {
    ui_->setupUi(this);
}

PasswordDialog::~PasswordDialog() = default;

QString PasswordDialog::password() const {
    return ui_->passwdLineEdit->text();
}

QString PasswordDialog::verification() const {
    return ui_->verifyLineEdit->text();
}

}  // namespace tolm
