#include "download/ReformatData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "download/DownloadFileNames.h"
#include "download/DownloadLog.h"
#include "download/Expansions.h"
#include "download/FlightDataImage.h"
#include "download/RawFlightFile.h"
#include "register/AircraftIdentifier.h"
#include "toolkit/UserDialogs.h"

namespace tolm {

namespace {

const QString kTitle = QStringLiteral("BRIXAutoDownload::ReformatData");
constexpr int kProgressMaximum = 100;

void fail(const QString& text) {
    qCWarning(lcDownload) << "ReformatData:" << text;
    showCritical(kTitle, text);
}

// Copies the image to the backup place, or to the time-stamped name beside it when a backup
// there cannot be removed. True when the copy exists.
bool backUp(const QString& imagePath, const QDateTime& now) {
    QString target = backupImagePath();
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        target = backupImageFallbackPath(now);
    }
    if (!QFile::copy(imagePath, target)) {
        qCWarning(lcDownload) << "backup copy failed:" << target;
        showWarning(kTitle, QStringLiteral("Failed to copy raw data file to ") + target);
        return false;
    }
    qCDebug(lcDownload) << "image backed up to" << target;
    return true;
}

bool readImage(const QString& imagePath, FlightDataImage& image) {
    switch (image.load(imagePath)) {
        case FlightDataImage::Status::Ok:
            return true;
        case FlightDataImage::Status::CannotOpen:
            fail(QStringLiteral("No data available or unit returned an error."));
            return false;
        case FlightDataImage::Status::SeekFailed:
            fail(QStringLiteral("QIODevice::seek() failed!"));
            return false;
        case FlightDataImage::Status::BadHeader:
            fail(QStringLiteral("Uploaded flight data file has bad data header"));
            return false;
        case FlightDataImage::Status::TooShort:
            fail(QStringLiteral("Uploaded flight data file is too short: %1 bytes expected, "
                                "%2 bytes received.")
                     .arg(image::kImageSize)
                     .arg(image.fileSize()));
            return false;
    }
    return false;
}

void removeImage(const QString& imagePath) {
    if (!QFile::remove(imagePath)) {
        qCWarning(lcDownload) << "image not removed:" << imagePath;
    }
}

}  // namespace

bool ReformatData(const QString& imagePath, int engineIndex, const AircraftRecord& aircraft,
                  const PartNumberRecord& partNumbers, const QString& dataDirectory,
                  const ReformatProgress& progress, const ReformatPumpEvents& pumpEvents) {
    const auto report = [&](int value) {
        if (progress) {
            progress(value, kProgressMaximum);
        }
    };
    const auto pump = [&] {
        if (pumpEvents) {
            pumpEvents();
        }
    };
    // One reading for the whole engine: file names, raw header time, "File created:" lines.
    const ReportContext context{engineIndex, aircraft, partNumbers, clock().now()};

    if (!QFileInfo::exists(imagePath)) {
        fail(QStringLiteral("Raw data file not found."));
        return false;
    }
    const bool backedUp = backUp(imagePath, context.created);
    FlightDataImage image;
    const bool read = readImage(imagePath, image);
    // Until the raw file exists, the image may only go when its backup copy holds it.
    if (backedUp) {
        removeImage(imagePath);
    }
    if (!read) {
        return false;
    }

    // The identifier becomes a folder name: one that could leave the data directory (a register
    // written by an older version may hold one) files nothing.
    if (!isUsableAircraftId(aircraft.identifier())) {
        fail(QStringLiteral("Invalid aircraft ID \"%1\"").arg(aircraft.identifier()));
        return false;
    }
    DownloadFileNames names(dataDirectory, aircraft, engineIndex, context.created);
    if (!QDir().mkpath(names.directory())) {
        fail(QStringLiteral("Failed to create data directory"));
        return false;
    }
    names.chooseFreeName();

    const bool rawWritten = RawFlightFile::write(names.rawPath(), context, image, pumpEvents);
    if (rawWritten && !backedUp) {
        removeImage(imagePath);
    }
    report(0);
    ExpandSteadyState(context, names.tablePath("ss"), image);
    report(kProgressMaximum / 3);
    pump();
    ExpandTransient(context, names.tablePath("ts"), image);
    report(2 * kProgressMaximum / 3);
    pump();
    ExpandCampbell(context, names.tablePath("cb"), image);
    report(kProgressMaximum);
    pump();
    return rawWritten;
}

}  // namespace tolm
