#include "formats/DownloadFileNames.h"

#include <QFileInfo>

namespace tolm {

DownloadFileNames::DownloadFileNames(const QString& dataDirectory, const AircraftRecord& aircraft,
                                     int engineIndex, const QDateTime& when)
    : directory_(QStringLiteral("%1/%2_data/engine_%3")
                     .arg(dataDirectory, QString::fromLocal8Bit(aircraft.identifierBytes()),
                          QString::number(engineIndex + 1))),
      serPart_(QString::asprintf("ESN%06d", serNumber(aircraft.engine(engineIndex).serBytes()))),
      stamp_(QString::asprintf("%d%02d%02d_%02d%02d", when.date().year(), when.date().month(),
                               when.date().day(), when.time().hour(), when.time().minute())) {}

int DownloadFileNames::serNumber(const QByteArray& ser) {
    QByteArray digits = ser;
    digits.replace("/", "");
    bool ok = false;
    const int n = digits.toInt(&ok, 10);
    return ok ? n : 0;
}

QString DownloadFileNames::path(const char* marker, const char* extension) const {
    const QString suffix = sequence_ > 1 ? QStringLiteral("_%1").arg(sequence_) : QString();
    return QStringLiteral("%1/%2_%3_%4%5.%6")
        .arg(directory_, serPart_, QLatin1String(marker), stamp_, suffix, QLatin1String(extension));
}

void DownloadFileNames::chooseFreeName() {
    const auto taken = [](const QString& p) {
        const QFileInfo info(p);
        return info.exists() || info.isSymLink();
    };
    while (taken(rawPath()) || taken(tablePath("ss")) || taken(tablePath("ts")) ||
           taken(tablePath("cb"))) {
        ++sequence_;
    }
}

}  // namespace tolm
