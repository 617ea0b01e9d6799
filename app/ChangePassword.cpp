#include "app/ChangePassword.h"

#include "app/PasswordDialog.h"
#include "core/Config.h"
#include "core/PasswordSettings.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

const char* const kTitle = "Change Password";

struct PasswordError {
    const char* text;
};

}  // namespace

void ChangePassword() {
    try {
        const std::optional<QString> current = userDialogs().textInput(
            QLatin1String(kTitle), QStringLiteral("Enter current password:"), QLineEdit::Password,
            QString(), nullptr);
        if (!current) {
            return;
        }
        // An empty answer never passes, even against an empty stored password.
        if (current->isEmpty() || *current != storedPassword()) {
            throw PasswordError{"Incorrect password."};
        }
        PasswordDialog dialog;
        if (userDialogs().exec(dialog) != QDialog::Accepted) {
            return;
        }
        if (dialog.password().isEmpty()) {
            throw PasswordError{"Invalid password."};
        }
        if (dialog.password() != dialog.verification()) {
            throw PasswordError{"Passwords don't match."};
        }
        PasswordSettings::store(dialog.password());
        showInformation(QLatin1String(kTitle), QStringLiteral("The password has been changed."));
    } catch (const PasswordError& error) {
        showWarning(QLatin1String(kTitle), QLatin1String(error.text));
    }
}

}  // namespace tolm
