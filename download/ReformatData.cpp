#include "download/ReformatData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "download/DownloadLog.h"
#include "download/Expansions.h"
#include "download/FlightDataImage.h"
#include "download/RawFlightFile.h"
#include "formats/AircraftIdentifier.h"
#include "formats/DownloadFileNames.h"

namespace tolm {

namespace {

const QString kTitle = QStringLiteral("BRIXAutoDownload::ReformatData");
constexpr int kProgressMaximum = 100;

Notice failure(const QString& text) {
    qCWarning(lcDownload) << "ReformatData:" << text;
    return Notice::critical(kTitle, text);
}

// Copies the image to the backup place, or to the time-stamped name beside it when a backup
// there cannot be removed. True when the copy exists.
bool backUp(const QString& imagePath, const QDateTime& now, Notices& notices) {
    QString target = backupImagePath();
    if (QFileInfo::exists(target) && !QFile::remove(target)) {
        target = backupImageFallbackPath(now);
    }
    if (!QFile::copy(imagePath, target)) {
        qCWarning(lcDownload) << "backup copy failed:" << target;
        notices << Notice::warning(kTitle,
                                   QStringLiteral("Failed to copy raw data file to ") + target);
        return false;
    }
    qCDebug(lcDownload) << "image backed up to" << target;
    return true;
}

// The error of an image that cannot be filed; none when it was read.
std::optional<Notice> readImage(const QString& imagePath, FlightDataImage& image) {
    switch (image.load(imagePath)) {
        case FlightDataImage::Status::Ok:
            return std::nullopt;
        case FlightDataImage::Status::CannotOpen:
            return failure(QStringLiteral("No data available or unit returned an error."));
        case FlightDataImage::Status::SeekFailed:
            return failure(QStringLiteral("QIODevice::seek() failed!"));
        case FlightDataImage::Status::BadHeader:
            return failure(QStringLiteral("Uploaded flight data file has bad data header"));
        case FlightDataImage::Status::TooShort:
            return failure(QStringLiteral("Uploaded flight data file is too short: %1 bytes "
                                          "expected, %2 bytes received.")
                               .arg(image::kImageSize)
                               .arg(image.fileSize()));
    }
    return failure(QStringLiteral("Uploaded flight data file has bad data header"));
}

void removeImage(const QString& imagePath) {
    if (!QFile::remove(imagePath)) {
        qCWarning(lcDownload) << "image not removed:" << imagePath;
    }
}

}  // namespace

ReformatResult ReformatData(const QString& imagePath, int engineIndex,
                            const AircraftRecord& aircraft, const PartNumberRecord& partNumbers,
                            const QString& dataDirectory, const ReformatProgress& progress,
                            const ReformatPumpEvents& pumpEvents) {
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
    ReformatResult result;
    Notices& notices = result.notices;
    // One reading for the whole engine: file names, raw header time, "File created:" lines.
    const ReportContext context{engineIndex, aircraft, partNumbers, clock().now()};

    if (!QFileInfo::exists(imagePath)) {
        notices << failure(QStringLiteral("Raw data file not found."));
        return result;
    }
    const bool backedUp = backUp(imagePath, context.created, notices);
    FlightDataImage image;
    const std::optional<Notice> unreadable = readImage(imagePath, image);
    // Until the raw file exists, the image may only go when its backup copy holds it.
    if (backedUp) {
        removeImage(imagePath);
    }
    if (unreadable) {
        notices << *unreadable;
        return result;
    }

    // The identifier becomes a folder name: one that could leave the data directory (a register
    // written by an older version may hold one) files nothing.
    if (!isUsableAircraftId(aircraft.identifier())) {
        notices << failure(QStringLiteral("Invalid aircraft ID \"%1\"").arg(aircraft.identifier()));
        return result;
    }
    DownloadFileNames names(dataDirectory, aircraft, engineIndex, context.created);
    if (!QDir().mkpath(names.directory())) {
        notices << failure(QStringLiteral("Failed to create data directory"));
        return result;
    }
    names.chooseFreeName();

    const auto collect = [&notices](const FileOutcome& outcome) {
        if (outcome.notice) {
            notices << *outcome.notice;
        }
        return outcome.written;
    };
    result.rawWritten = collect(RawFlightFile::write(names.rawPath(), context, image, pumpEvents));
    if (result.rawWritten) {
        result.rawPath = names.rawPath();
    }
    if (result.rawWritten && !backedUp) {
        removeImage(imagePath);
    }
    report(0);
    collect(ExpandSteadyState(context, names.tablePath("ss"), image));
    report(kProgressMaximum / 3);
    pump();
    collect(ExpandTransient(context, names.tablePath("ts"), image));
    report(2 * kProgressMaximum / 3);
    pump();
    collect(ExpandCampbell(context, names.tablePath("cb"), image));
    report(kProgressMaximum);
    pump();
    return result;
}

}  // namespace tolm
