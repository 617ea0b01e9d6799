// Any bytes as a raw flight-data file in the data directory, read as the viewer reads it: the
// scan lists exactly the used slots of the complete data blocks of a file of this format, each
// listed flight reads back as its own header and block, and every parameter's chart of the read
// flights (values, time histories, spectra, Waterfall FFT) has its sets and points, with
// spectra finite and never below their offset.
// Input: one byte of shape (bits 0-1: 0-1 a whole file; 2 cut to the block count and extra bytes
// that the next two bytes give; 3 the body as the file, as it stands), one byte that picks the
// record and the Waterfall FFT's flight, then the body, repeated over the file's length.
#include <QDir>
#include <cmath>
#include <cstring>

#include "core/ByteOrder.h"
#include "fuzz/FuzzSupport.h"
#include "viewer/ChartBuilder.h"
#include "viewer/DataDirectoryScan.h"
#include "viewer/Tabulation.h"
#include "viewer/WaterfallExport.h"

using fuzz::check;
using namespace tolm::viewer;

namespace {

// The raw file's layout, written out here again rather than taken from the program.
constexpr qint64 kHeader = 788, kBlockSize = 142652;
constexpr qint64 kFileSize = kHeader + 20 * kBlockSize + 24;
constexpr int kMaxChosen = 10;  // flights the selection hands to the plot window at most

qint32 headerWord(const QByteArray& file, int at) {
    return tolm::loadLeI32(reinterpret_cast<const unsigned char*>(file.constData()) + at);
}

// The flights the scan must list: the used slots of the complete blocks, highest number first.
QList<std::pair<int, int>> expectedFlights(const QByteArray& file) {
    QList<std::pair<int, int>> flights;  // (flight number, slot)
    const qint64 complete = (file.size() - kHeader) / kBlockSize;
    for (int slot = 0; slot < 20 && slot < complete; ++slot) {
        if (const qint32 n = headerWord(file, 68 + 4 * slot)) {
            flights.append({n, slot});
        }
    }
    std::stable_sort(flights.begin(), flights.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    return flights;
}

void checkChart(const ChartContents& c, const ChartRequest& r, int flights) {
    const bool steady = r.plotType == PlotType::SteadyState;
    if (r.parameter == kWaterfallFft) {
        check(c.sets.size() == (steady ? 26 : 10), "Waterfall FFT: not one set per record");
    } else if (!steady && Parameters::hasNoTransientData(r.parameter)) {
        check(c.sets.isEmpty(), "sets for a parameter without transient data");
    } else {
        check(c.sets.size() == flights && c.legend.size() == flights, "not one set per flight");
    }
    int points = steady ? 26 : Parameters::isTransientAverage(r.parameter) ? 4 : 10;
    if (r.parameter == kTimeHistory) {
        points = 1024;
    } else if (r.parameter == kFft || r.parameter == kWaterfallFft) {
        points = 512;
    }
    for (int i = 0; i < c.sets.size(); ++i) {
        const DataSet& s = c.sets[i];
        check(s.x.size() == points && s.y.size() == points, "a set without its points");
        if (r.parameter == kFft || r.parameter == kWaterfallFft) {
            const double offset = r.parameter == kWaterfallFft ? i + 1 : 0.0;
            for (double y : s.y) {
                check(std::isfinite(y) && y >= offset, "a spectrum value is not finite or < 0");
            }
        } else if (r.parameter == kTimeHistory) {
            for (double y : s.y) {
                check(std::fabs(y) <= 32768 * kGPerCount, "a time history beyond the samples");
            }
        }
    }
    if (!c.sets.isEmpty()) {
        check(Tabulation::of(c, 0).rows.size() == points, "the tabulation misses points");
    }
    if (c.isWaterfall()) {
        check(WaterfallExport::csv(c).count('\n') >= points, "the export misses points");
    }
}

// Every parameter of both plot types, every bin, every window of the spectra.
void chartEverything(const QList<FlightDataElement>& flights, int pick) {
    for (PlotType type : {PlotType::SteadyState, PlotType::Transient}) {
        const bool steady = type == PlotType::SteadyState;
        for (const Parameter& p : Parameters::inMenuOrder()) {
            const bool spectral = p.identifier == kFft || p.identifier == kWaterfallFft;
            for (int bin = 0; bin < (steady ? 1 : kTransientBins); ++bin) {
                for (int w = 0; w < (spectral ? kFftWindowCount : 1); ++w) {
                    ChartRequest r;
                    r.plotType = type;
                    r.parameter = p.identifier;
                    r.bin = bin;
                    r.sample = pick % (steady ? 26 : 10);
                    r.waterfallFlight = flights.isEmpty() ? 0 : pick % flights.size();
                    r.window = FftWindow(w);
                    checkChart(ChartBuilder::build(flights, r), r, int(flights.size()));
                }
            }
        }
    }
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
    const quint8 pick = in.byte();
    const QByteArray body = in.rest();
    const QByteArray file = (shape & 3) == 3 ? body : fuzz::tiled(body, length);

    const QString folder = fuzz::dataDirectory() + QStringLiteral("/HB-FUZ_data/engine_1");
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/ESN000001_fd_20080305_1407.raw");
    fuzz::writeFile(path, file);

    const ScanResult scan = DataDirectoryScan::scan(fuzz::dataDirectory());
    if (file.size() < kHeader) {
        check(scan.flights.isEmpty() && scan.errors.size() == 1 && scan.incompatibleFiles.isEmpty(),
              "a file shorter than its header was not refused");
        return 0;
    }
    if (quint32(headerWord(file, 0)) != 0xAEEAAEED) {
        check(scan.flights.isEmpty() && scan.errors.isEmpty() && scan.incompatibleFiles.size() == 1,
              "a file of another format was not set aside");
        return 0;
    }
    const QList<std::pair<int, int>> expected = expectedFlights(file);
    check(scan.flights.size() == expected.size(), "the scan lists other flights");
    check(scan.errors.isEmpty() == (file.size() >= kHeader + 20 * kBlockSize),
          "a short file was not reported, or a whole one was");

    QList<FlightDataElement> chosen;
    for (int i = 0; i < scan.flights.size(); ++i) {
        const FlightListElement& listed = scan.flights[i];
        check(listed.flightNumber == expected[i].first && listed.slot == expected[i].second,
              "a listed flight is not the header's");
        check(listed.engine == headerWord(file, 40) &&
                  listed.memoryType == headerWord(file, 228 + 4 * listed.slot),
              "a listed flight's engine or memory is not the header's");
        Outcome<FlightDataElement> read = RawFlightReader::ExtractFlightData(listed);
        check(read.ok(), "a listed flight does not read");
        const FlightDataElement& f = read.value();
        check(f.header().bytes() == file.left(kHeader), "the flight's header is not the file's");
        check(f.block() == file.mid(kHeader + listed.slot * kBlockSize, kBlockSize),
              "the flight's block is not the file's");
        check(f.flightNumber() == listed.flightNumber, "the flight read is another one");
        if (chosen.size() < kMaxChosen) {
            chosen.append(std::move(read).value());
        }
    }
    chartEverything(chosen, pick);
    return 0;
}
