#pragma once
// Where one download of one engine is filed: "<data directory>/<aircraft>_data/engine_<n>/",
// the raw file "ESN%06d_fd_%d%02d%02d_%02d%02d.raw" and its three tables, which differ only in
// the marker ("ss", "ts", "cb" for "fd") and the extension ("txt"). A second download of the same
// engine in the same minute gets "_2" (then "_3", ...) before the extension, on all four files.
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "formats/AircraftRecord.h"

namespace tolm {

class DownloadFileNames {
public:
    DownloadFileNames(const QString& dataDirectory, const AircraftRecord& aircraft, int engineIndex,
                      const QDateTime& when);

    QString directory() const { return directory_; }
    QString rawPath() const { return path("fd", "raw"); }
    QString tablePath(const char* marker) const { return path(marker, "txt"); }

    // Moves to the first suffix under which none of the four files exists yet.
    void chooseFreeName();
    int sequence() const { return sequence_; }  // 1: no suffix

    // The SER as the file name numbers it: every "/" removed, read as a decimal integer;
    // anything else reads as 0.
    static int serNumber(const QByteArray& ser);

private:
    QString path(const char* marker, const char* extension) const;

    QString directory_;
    QString serPart_;  // "ESN012345"
    QString stamp_;    // "20080305_1407"
    int sequence_ = 1;
};

}  // namespace tolm
