#include "register/EngineSerial.h"

#include <QRegularExpression>

namespace tolm {

bool isValidSer(const QString& ser) {
    static const QRegularExpression digits(QStringLiteral("^\\d{0,6}$"));
    return ser.size() <= kMaxSerDigits && digits.match(ser).hasMatch();
}

CheckedSer checkedSer(int engineNumber, const QString& ser) {
    if (isValidSer(ser)) {
        return {ser, std::nullopt};
    }
    return {QStringLiteral("0"),
            Notice::warning(QStringLiteral("Warning"),
                            QStringLiteral("Invalid engine %1 SER detected (%2).\n\nPlease enter "
                                           "a new engine SER.")
                                .arg(QString::number(engineNumber), ser))};
}

std::optional<Notice> shortSerialNumber(const AircraftRecord& record) {
    for (int i = 0; i < 2; ++i) {
        const EngineRecord engine = record.engine(i);
        if (engine.option(EngineOption::DownloadBearingData) &&
            engine.ser().size() < kMinSerLength) {
            return Notice::critical(
                QStringLiteral("Error"),
                QStringLiteral("Invalid engine %1 serial number.\n\nEnter min. %2 characters.")
                    .arg(i + 1)
                    .arg(kMinSerLength));
        }
    }
    return std::nullopt;
}

}  // namespace tolm
