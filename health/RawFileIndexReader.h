#pragma once
// Reads what the flight index keeps of one raw flight-data file, and nothing more: the 788-byte
// header, then the 2080 bytes of steady-state values of each used data block. A file that cannot
// be indexed (cannot be opened, cut short, of another format, damaged, changed while it was
// read) comes back as a skipped file with its reason; none of its flights are kept.
#include <QString>
#include <functional>
#include <optional>

#include "health/IndexedFile.h"

namespace tolm::health {

struct FileReading {
    std::optional<IndexedFile> file;
    std::optional<SkippedFile> skipped;  // exactly one of the two is set
};

class RawFileIndexReader {
public:
    static inline const QString kCannotOpen = QStringLiteral("Cannot be opened");
    static inline const QString kCannotRead = QStringLiteral("Cannot be read");
    static inline const QString kCutShort = QStringLiteral("Cut short: %1 of %2 bytes");
    static inline const QString kOtherFormat =
        QStringLiteral("Not a raw flight-data file of this version of TOLM");
    static inline const QString kBadEngine = QStringLiteral("Damaged: engine number %1");
    static inline const QString kBadMemory = QStringLiteral("Damaged: memory %1 in data block %2");
    static inline const QString kChanged = QStringLiteral("Changed while it was read");

    // Reads the file at the absolute path; a stamp that differs after the read from the one
    // before it makes the file skipped as changed. `afterRead` runs between the read and that
    // check (a test changes the file there).
    static FileReading read(const QString& path, const std::function<void()>& afterRead = {});

    // The same over any bytes: `fetch` fills n bytes from an offset or returns false; the stamp
    // gives the size.
    using Fetch = std::function<bool(qint64 offset, char* out, qsizetype n)>;
    static FileReading parse(const QString& path, const FileStamp& stamp, const Fetch& fetch);

    // The serial number in a raw file's name "ESN<digits>_...", kUnknownSerial without one.
    static qint32 serialFromFileName(QStringView fileName);
};

}  // namespace tolm::health
