// Any bytes as a raw flight-data file, read as the flight index reads it: either the file is
// left out with a reason, or it is indexed with exactly the used slots of its header, each
// block's steady-state values the bytes of the file at its offsets, equal blocks with equal
// hashes; a file shorter than the format or of another magic number is left out. The same file
// on disk, scanned into an index, gives those flights.
// Input: one byte of shape (bits 0-1: 0-1 a whole file; 2 cut to the block count and extra bytes
// that the next two bytes give; 3 the body as the file, as it stands), then the body, repeated
// over the file's length.
#include <QDir>
#include <cstring>

#include "core/ByteOrder.h"
#include "fuzz/FuzzSupport.h"
#include "health/FlightIndex.h"
#include "health/RawFileIndexReader.h"

using fuzz::check;
using namespace tolm::health;

namespace {

// The raw file's layout, written out here again rather than taken from the program.
constexpr qint64 kHeader = 788, kBlockSize = 142652;
constexpr qint64 kFileSize = kHeader + 20 * kBlockSize + 24;

qint32 word(const QByteArray& file, qint64 at) {
    return tolm::loadLeI32(reinterpret_cast<const unsigned char*>(file.constData()) + at);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 shape = in.byte();
    qint64 length = kFileSize;
    if ((shape & 3) == 2) {
        const int blocks = in.byte() % 21;
        length = kHeader + blocks * kBlockSize + in.byte();
    }
    const QByteArray body = in.rest();
    const QByteArray file = (shape & 3) == 3 ? body : fuzz::tiled(body, length);

    const QString path = QStringLiteral("/fuzz/ESN000042_fd_20080305_1407.raw");
    const auto fetch = [&file](qint64 at, char* out, qsizetype n) {
        if (at < 0 || at + n > file.size()) {
            return false;
        }
        std::memcpy(out, file.constData() + at, std::size_t(n));
        return true;
    };
    const FileReading reading =
        RawFileIndexReader::parse(path, FileStamp{file.size(), 0, 0}, fetch);
    check(reading.file.has_value() != reading.skipped.has_value(), "not exactly one outcome");
    const bool format = file.size() >= kHeader && quint32(word(file, 0)) == 0xAEEAAEED;
    if (!format || file.size() < kFileSize) {
        check(reading.skipped && !reading.skipped->reason.isEmpty(),
              "a short file or one of another format was indexed");
        return 0;
    }
    if (reading.file) {
        const IndexedFile& f = *reading.file;
        check(f.serial == 42 && f.engineNumber == word(file, 40), "not the file's engine");
        int at = 0;
        for (int slot = 0; slot < 20; ++slot) {
            if (word(file, 68 + 4 * slot) == 0) {
                continue;
            }
            check(at < f.blocks.size() && f.blocks[at].slot == slot, "a used slot is missing");
            const IndexedBlock& b = f.blocks[at++];
            check(b.flightNumber == word(file, 68 + 4 * slot) &&
                      b.memory == word(file, 228 + 4 * slot),
                  "a block's flight is not the header's");
            for (int p = 0; p < 20; ++p) {
                check(f.values.mid((p * f.blocks.size() + at - 1) * 104, 104) ==
                          file.mid(kHeader + slot * kBlockSize + p * 104, 104),
                      "a block's values are not the file's bytes");
            }
            for (int i = 0; i < 6; ++i) {
                check(b.alarms.inRawOrder()[i] == word(file, 308 + 4 * (6 * slot + i)),
                      "a block's alarm levels are not the header's");
            }
        }
        check(at == f.blocks.size(), "a block of an empty slot was indexed");
        const FileReading again =
            RawFileIndexReader::parse(path, FileStamp{file.size(), 0, 0}, fetch);
        check(again.file == reading.file, "the same bytes read twice differ");
    }

    // The same bytes on disk, through a scan.
    const QString folder = fuzz::dataDirectory() + QStringLiteral("/HB-FUZ_data/engine_1");
    QDir().mkpath(folder);
    fuzz::writeFile(folder + QStringLiteral("/ESN000042_fd_20080305_1407.raw"), file);
    FlightIndex index(fuzz::dataDirectory(), fuzz::home() + QStringLiteral("/index.sqlite"));
    const IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{}, 10);
    check(flights.ok(), "the index cannot be used", flights.error());
    qsizetype blocks = 0;
    for (const DistinctFlight& f : flights.value()) {
        blocks += f.copies.size();
    }
    check(blocks == (reading.file ? reading.file->blocks.size() : 0),
          "the scan holds other blocks than the reader read");
    check(index.skippedFiles().value().size() == (reading.skipped ? 1 : 0),
          "a left-out file is not listed");
    return 0;
}
