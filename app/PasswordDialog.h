#pragma once
// The form that asks for the new password twice.
#include <QDialog>
#include <memory>

namespace Ui {
class PasswordDialog;
}

namespace tolm {

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(QWidget* parent = nullptr);
    ~PasswordDialog() override;

    QString password() const;
    QString verification() const;

private:
    std::unique_ptr<Ui::PasswordDialog> ui_;
};

}  // namespace tolm
