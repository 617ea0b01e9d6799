#include "register/EngineSerial.h"

#include <QRegularExpression>

#include "toolkit/UserDialogs.h"

namespace tolm {

bool isValidSer(const QString& ser) {
    static const QRegularExpression digits(QStringLiteral("^\\d{0,6}$"));
    return ser.size() <= kMaxSerDigits && digits.match(ser).hasMatch();
}

QString checkedSer(int engineNumber, const QString& ser) {
    if (isValidSer(ser)) {
        return ser;
    }
    showWarning(
        QStringLiteral("Warning"),
        QStringLiteral("Invalid engine %1 SER detected (%2).\n\nPlease enter a new engine SER.")
            .arg(QString::number(engineNumber), ser));
    return QStringLiteral("0");
}

bool serialNumbersLongEnough(const AircraftRecord& record) {
    for (int i = 0; i < 2; ++i) {
        const EngineRecord engine = record.engine(i);
        if (engine.option(EngineOption::DownloadBearingData) &&
            engine.ser().size() < kMinSerLength) {
            showCritical(
                QStringLiteral("Error"),
                QStringLiteral("Invalid engine %1 serial number.\n\nEnter min. %2 characters.")
                    .arg(i + 1)
                    .arg(kMinSerLength));
            return false;
        }
    }
    return true;
}

}  // namespace tolm
