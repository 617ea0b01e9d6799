#include "download/RawFlightFile.h"

#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <vector>

#include "download/DownloadLog.h"
#include "formats/RawFlightFileLayout.h"

namespace tolm {

namespace {

const QString kTitle = QStringLiteral("Error");

// A NUL-terminated text in a zeroed field of raw::kTextWidth bytes.
void putText(unsigned char* field, const QByteArray& text) {
    std::memcpy(field, text.constData(), std::min<qsizetype>(text.size(), raw::kTextWidth - 1));
}

}  // namespace

QByteArray RawFlightFile::header(const ReportContext& context, const FlightDataImage& image) {
    QByteArray bytes(raw::kHeaderSize, '\0');
    auto* h = reinterpret_cast<unsigned char*>(bytes.data());
    const auto word = [&image](int w) { return image.engineWord(w); };

    storeLe32(h + raw::kMagicOffset, raw::kMagic);
    putText(h + raw::kIdentifierOffset, context.aircraft.identifierBytes());
    putText(h + raw::kEngineTypeOffset, context.engine().typeBytes());
    storeLeI32(h + raw::kEngineNumberOffset, context.engineNumber());
    storeLeI32(h + raw::kTotalHoursOffset, word(image::kTotalHoursWord));
    storeLeI32(h + raw::kTotalMinutesOffset, word(image::kTotalMinutesWord));
    storeLeI32(h + raw::kCountOffset, word(image::kCountWord));
    storeLeI32(h + raw::kAccelSourceOffset, word(image::kAccelSourceWord));
    storeLeI32(h + raw::kWrittenOffset, static_cast<qint32>(context.created.toSecsSinceEpoch()));
    storeLeI32(h + raw::kTotalFlightsOffset, word(image::kTotalFlightsWord));
    for (int b = 0; b < raw::kDataBlocks; ++b) {
        const FlightBlockView f = image.block(b);
        storeLeI32(h + raw::kFlightNumbersOffset + 4 * b, f.flightNumber());
        storeLe32(h + raw::kCarriedWordsOffset + 4 * b, f.carriedWord());
        storeLe32(h + raw::kMemoriesOffset + 4 * b, f.memory());
        for (int i = 0; i < image::kAlarmLevels; ++i) {
            storeLe32(h + raw::kAlarmLevelsOffset + 4 * (b * image::kAlarmLevels + i),
                      f.alarmLevel(i));
        }
    }
    return bytes;
}

void RawFlightFile::fillBlock(unsigned char* out, FlightBlockView f) {
    using namespace image;
    // Steady-state values transposed: value j of record r at (j * 26 + r).
    for (int r = 0; r < kSteadyStateRecords; ++r) {
        for (int j = 0; j < kSteadyStateValues; ++j) {
            storeLeF32(out + raw::kSteadyValuesOffset + 4 * (j * kSteadyStateRecords + r),
                       f.steadyValue(r, j));
        }
        unsigned char* samples = out + raw::kSteadySamplesOffset + r * 2 * kSamples;
        for (int i = 0; i < kSamples; ++i) {
            storeLeI16(samples + 2 * i, FlightBlockView::sample(f.steadySamples(r), i));
        }
    }
    for (int m = 0; m < kTransientGroups; ++m) {
        for (int k = 0; k < kTransientRecords; ++k) {
            // Value j of record k of group m at ((j * 4 + m) * 10 + k).
            for (int j = 0; j < kTransientValues; ++j) {
                const int at = (j * kTransientGroups + m) * kTransientRecords + k;
                storeLeF32(out + raw::kTransientValuesOffset + 4 * at, f.transientValue(m, k, j));
            }
            unsigned char* samples =
                out + raw::kTransientSamplesOffset + (m * kTransientRecords + k) * 2 * kSamples;
            for (int i = 0; i < kSamples; ++i) {
                storeLeI16(samples + 2 * i, FlightBlockView::sample(f.transientSamples(m, k), i));
            }
        }
        // Average value k of group m at (k * 4 + m).
        for (int k = 0; k < kTransientValues; ++k) {
            storeLeF32(out + raw::kTransientAveragesOffset + 4 * (k * kTransientGroups + m),
                       f.transientAverage(m, k));
        }
    }
    storeLe32(out + raw::kSelectorOffset, f.campbellSelector());
    // The Campbell sets go over byte for byte.
    std::memcpy(out + raw::kCampbellSetsOffset, f.campbellSet(0), kCampbellSets * kCampbellSetSize);
}

QByteArray RawFlightFile::trailer(const FlightDataImage& image) {
    QByteArray bytes(raw::kTrailerSize, '\0');
    for (int i = 0; i < image::kAlarmLevels; ++i) {
        storeLeI32(bytes.data() + 4 * i, image.engineWord(image::kFirstAlarmWord + i));
    }
    return bytes;
}

FileOutcome RawFlightFile::write(const QString& path, const ReportContext& context,
                                 const FlightDataImage& image, const PumpEvents& pumpEvents) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcDownload) << "cannot create raw file" << path << file.errorString();
        return {false, Notice::critical(
                           kTitle, QStringLiteral("Unable to open uploaded data processed file"))};
    }
    file.write(header(context, image));
    std::vector<unsigned char> block(raw::kDataBlockSize);
    for (int b = 0; b < raw::kDataBlocks; ++b) {
        std::fill(block.begin(), block.end(), 0);
        fillBlock(block.data(), image.block(b));
        file.write(reinterpret_cast<const char*>(block.data()), raw::kDataBlockSize);
        if (pumpEvents) {
            pumpEvents();
        }
    }
    file.write(trailer(image));
    if (!file.commit()) {
        qCWarning(lcDownload) << "raw file not written:" << path << file.errorString();
        return {false, Notice::critical(
                           kTitle, QStringLiteral("Unable to write uploaded data processed file"))};
    }
    qCDebug(lcDownload) << "raw file written:" << path;
    return {true, std::nullopt};
}

}  // namespace tolm
