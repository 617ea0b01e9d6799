#pragma once
// The About box: the product, its version, its own part number, the rights notice and the build
// date, filled into the placeholders of the form's text.
#include <QDialog>
#include <memory>

namespace Ui {
class AboutTolmDialog;
}

namespace tolm {

class AboutTolmDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutTolmDialog(QWidget* parent = nullptr);
    ~AboutTolmDialog() override;

    QString text() const;
    // Replaces "version_string", "pnr_string" and "build_date_time" wherever they stand.
    static QString Substitute(QString text);

    // Builds the dialog, runs it and destroys it.
    static void Run();

private:
    std::unique_ptr<Ui::AboutTolmDialog> ui_;
};

}  // namespace tolm
