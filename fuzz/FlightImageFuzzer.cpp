// Any flight-data image as the response file of a download, filed by ReformatData into the
// private data directory: the backup copy holds the image, the image file is gone, a raw file
// and three tables are written exactly when the image is whole and the aircraft identifier can
// name a folder, the raw file holds the image's values where its layout puts them, and nothing
// is written outside the data directory and the backup place. The input is compact
// (fuzz/CompactImage.h): it expands into a whole image, so that each run files 2.8 MB.
#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "core/ByteOrder.h"
#include "core/PlatformPaths.h"
#include "download/ReformatData.h"
#include "formats/AircraftIdentifier.h"
#include "fuzz/CompactImage.h"
#include "fuzz/FuzzSupport.h"
#include "link/ResponseFile.h"

using fuzz::check;

namespace {

// The two layouts, written out here again rather than taken from the program.
constexpr qint64 kImageSize = 2876628;
constexpr int kImageBlocksAt = 68, kImageBlockSize = 143828;
constexpr int kRawHeader = 788, kRawBlockSize = 142652, kRawTrailer = 24;
constexpr qint64 kRawSize = kRawHeader + 20 * kRawBlockSize + kRawTrailer;

quint32 word(const QByteArray& b, qint64 at) {
    return tolm::loadLe32(reinterpret_cast<const unsigned char*>(b.constData()) + at);
}

QByteArray textField(const QByteArray& text, int width) {
    QByteArray f = text.left(width - 1);
    f.resize(width, '\0');
    return f;
}

// The raw file holds the image's values where its layout puts them.
void checkRaw(const QByteArray& raw, const QByteArray& image, const fuzz::ExpandedImage& in) {
    check(raw.size() == kRawSize, "the raw file is not 2,853,852 bytes long");
    const auto engineWord = [&](int w) { return word(image, 20 + 4 * w); };
    const tolm::EngineRecord engine = in.aircraft.engine(in.engineIndex);
    check(word(raw, 0) == 0xAEEAAEED, "magic");
    check(raw.mid(4, 17) == textField(in.aircraft.identifierBytes(), 17), "aircraft text");
    check(raw.mid(0x15, 17) == textField(engine.typeBytes(), 17), "engine type text");
    check(word(raw, 0x28) == quint32(in.engineIndex + 1), "engine number");
    check(word(raw, 0x2C) == engineWord(2) && word(raw, 0x30) == engineWord(3) &&
              word(raw, 0x34) == engineWord(4) && word(raw, 0x38) == engineWord(5) &&
              word(raw, 0x40) == engineWord(1),
          "engine header words");
    check(qint64(qint32(word(raw, 0x3C))) == fuzz::clockSeconds(), "time of writing");
    for (int i = 0; i < 6; ++i) {
        check(word(raw, kRawSize - kRawTrailer + 4 * i) == engineWord(6 + i), "trailer");
    }
    for (int b = 0; b < 20; ++b) {
        const qint64 f = kImageBlocksAt + qint64(b) * kImageBlockSize;
        const qint64 d = kRawHeader + qint64(b) * kRawBlockSize;
        check(word(raw, 0x44 + 4 * b) == word(image, f + 0x18), "flight number");
        check(word(raw, 0x94 + 4 * b) == word(image, f + 0x1C), "carried word");
        check(word(raw, 0xE4 + 4 * b) == word(image, f + 0x20), "memory");
        for (int i = 0; i < 6; ++i) {
            check(word(raw, 0x134 + 4 * (6 * b + i)) == word(image, f + 0x24 + 4 * i), "alarm");
        }
        for (int r = 0; r < 26; ++r) {
            const qint64 record = f + 0x44 + r * 2144;
            for (int j = 0; j < 20; ++j) {
                check(word(raw, d + 4 * (j * 26 + r)) == word(image, record + 4 * j),
                      "steady-state value");
            }
            check(std::memcmp(raw.constData() + d + 0x820 + r * 2048,
                              image.constData() + record + 88, 2048) == 0,
                  "steady-state samples");
        }
        for (int m = 0; m < 4; ++m) {
            const qint64 group = f + 0xDA04 + m * 21088;
            for (int k = 0; k < 10; ++k) {
                const qint64 record = group + 48 + k * 2104;
                for (int j = 0; j < 10; ++j) {
                    check(word(raw, d + 0xD820 + 4 * ((j * 4 + m) * 10 + k)) ==
                              word(image, record + 4 * j),
                          "transient value");
                }
                check(std::memcmp(raw.constData() + d + 0xDF00 + (m * 10 + k) * 2048,
                                  image.constData() + record + 48, 2048) == 0,
                      "transient samples");
            }
            for (int k = 0; k < 10; ++k) {
                check(word(raw, d + 0xDE60 + 4 * (k * 4 + m)) == word(image, group + 4 * k),
                      "transient average");
            }
        }
        check(word(raw, d + 0x21F00) == word(image, f + 0x22384), "Campbell data selector");
        check(raw.mid(d + 0x21F04, 320) == QByteArray(320, '\0'), "the zero bytes");
        check(std::memcmp(raw.constData() + d + 0x22044, image.constData() + f + 0x224D0,
                          5 * 664) == 0,
              "Campbell sets");
    }
}

void checkTable(const QString& path, const char* what) {
    const QByteArray table = fuzz::readFile(path);
    const QByteArray separator = QByteArray(100, '-') + "\r\n";
    check(table.startsWith(separator) && table.endsWith(separator), what, path);
    check(table.contains("File name:" + QByteArray(20, ' ') +
                         QFileInfo(path).fileName().toLocal8Bit() + "\r\n"),
          "a table does not name its own file", path);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::ExpandedImage in = fuzz::expandImage(data, size);
    fuzz::clearHome();
    const QString imagePath = tolm::responseFilePath();
    fuzz::writeFile(imagePath, in.image);
    const QStringList before = fuzz::entriesUnder(fuzz::home());

    tolm::PartNumberRecord partNumbers;
    int lastProgress = -1;
    const tolm::ReformatResult result = tolm::ReformatData(
        imagePath, in.engineIndex, in.aircraft, partNumbers, fuzz::dataDirectory(),
        [&](int value, int maximum) {
            check(value >= 0 && value <= maximum, "progress beyond its maximum");
            lastProgress = value;
        },
        {});

    const bool whole = in.image.size() >= kImageSize;
    const bool usable = tolm::isUsableAircraftId(in.aircraft.identifier());
    check(result.rawWritten == (whole && usable),
          "a raw file was written from an image that cannot be filed, or not from one that can");
    check(result.notices.isEmpty() == result.rawWritten, "notices do not match the outcome");
    for (const tolm::Notice& n : result.notices) {
        check(!n.title.isEmpty() && !n.text.isEmpty(), "a notice without title or text");
    }
    check(!QFile::exists(imagePath), "the image file was left behind");
    check(fuzz::readFile(tolm::backupImagePath()) == in.image, "the backup is not the image");

    // What was written: the backup copy, and only when filed, the engine folder with the raw
    // file and its three tables.
    QStringList found = fuzz::entriesUnder(fuzz::home());
    found.removeIf([](const QString& e) { return e.startsWith(QLatin1String(".config")); });
    QStringList expected = before;
    expected.removeAll(QFileInfo(imagePath).fileName());
    expected.removeIf([](const QString& e) { return e.startsWith(QLatin1String(".config")); });
    expected << QFileInfo(tolm::backupImagePath()).fileName();
    if (result.rawWritten) {
        check(lastProgress == 100, "the progress did not reach its end");
        const QString folder =
            QStringLiteral("data/%1_data/engine_%2")
                .arg(in.aircraft.identifier(), QString::number(in.engineIndex + 1));
        const QStringList files = QDir(fuzz::home() + QLatin1Char('/') + folder)
                                      .entryList(QDir::Files | QDir::Hidden, QDir::Name);
        check(files.size() == 4, "not four files in the engine folder", files.join(' '));
        expected << QStringLiteral("data/%1_data").arg(in.aircraft.identifier()) << folder;
        for (const QString& f : files) {
            expected << folder + QLatin1Char('/') + f;
        }
        const QString base = fuzz::home() + QLatin1Char('/') + folder + QLatin1Char('/');
        const QStringList raw = files.filter(QStringLiteral("_fd_"));
        check(raw.size() == 1 && raw[0].endsWith(QLatin1String(".raw")), "no raw file",
              files.join(' '));
        checkRaw(fuzz::readFile(base + raw[0]), in.image, in);
        for (const char* marker : {"_ss_", "_ts_", "_cb_"}) {
            const QStringList table = files.filter(QLatin1String(marker));
            check(table.size() == 1 && table[0].endsWith(QLatin1String(".txt")),
                  "a table is missing", files.join(' '));
            checkTable(base + table[0], "a table is not framed by separators");
        }
    }
    expected.sort();
    check(found == expected, "files were written outside the engine folder",
          found.join(QLatin1Char(' ')));
    fuzz::clearHome();
    return 0;
}
