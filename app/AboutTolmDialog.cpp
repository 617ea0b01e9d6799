#include "app/AboutTolmDialog.h"

#include "core/Config.h"
#include "toolkit/UserDialogs.h"
#include "ui_AboutTolmDialog.h"

namespace tolm {

AboutTolmDialog::AboutTolmDialog(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutTolmDialog>()) {
    ui_->setupUi(this);
    ui_->aboutLabel->setText(Substitute(ui_->aboutLabel->text()));
}

AboutTolmDialog::~AboutTolmDialog() = default;

QString AboutTolmDialog::text() const {
    return ui_->aboutLabel->text();
}

QString AboutTolmDialog::Substitute(QString text) {
    const QString version = QStringLiteral("Version: %1.%2.%3")
                                .arg(kVersionMajor)
                                .arg(kVersionMinor)
                                .arg(kVersionPatch);
    const QString built =
        QStringLiteral("Built: %1 %2").arg(QLatin1String(kBuildDate), QLatin1String(kBuildTime));
    text.replace(QStringLiteral("version_string"), version);
    text.replace(QStringLiteral("pnr_string"), programPartNumber());
    text.replace(QStringLiteral("build_date_time"), built);
    return text;
}

void AboutTolmDialog::Run() {
    AboutTolmDialog dialog;
    userDialogs().exec(dialog);
}

}  // namespace tolm
