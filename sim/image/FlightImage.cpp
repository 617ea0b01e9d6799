#include "sim/image/FlightImage.h"

#include <utility>

#include "sim/image/ImageWriter.h"
#include "sim/image/SignalSource.h"

namespace quorsim {

namespace {

// Steady-state columns: A4R_avg TR4R_avg TR4R_std CN1_avg CN2_avg CDN_avg A3B_avg TR3B_avg
// A3B_std TR3B_std A4R TR4R N1-4R N2-4R CN1 CN2 CDN A3B TR3B N2-3B.
enum class Scale { Amplitude, Ratio, Spread, Percent, Difference, Speed };
constexpr Scale kSteadyScales[kSteadyStateValues] = {
    Scale::Amplitude,  Scale::Ratio,      Scale::Spread,    Scale::Percent, Scale::Percent,
    Scale::Difference, Scale::Amplitude,  Scale::Ratio,     Scale::Spread,  Scale::Spread,
    Scale::Amplitude,  Scale::Ratio,      Scale::Speed,     Scale::Speed,   Scale::Percent,
    Scale::Percent,    Scale::Difference, Scale::Amplitude, Scale::Ratio,   Scale::Speed};
// Transient columns: A4R TR4R N1-4R N2-4R CN1 CN2 CDN A3B TR3B N2-3B.
constexpr Scale kTransientScales[kTransientValues] = {
    Scale::Amplitude, Scale::Ratio,      Scale::Speed,     Scale::Speed, Scale::Percent,
    Scale::Percent,   Scale::Difference, Scale::Amplitude, Scale::Ratio, Scale::Speed};
constexpr int kN1Column = 12;          // N1-4R in a steady-state record (rpm)
constexpr int kTransientN1Column = 2;  // N1-4R in a transient record (rpm)

float valueOf(Scale s, SignalSource& src) {
    switch (s) {
        case Scale::Amplitude:
            return src.logBetween(0.005, 4.0);
        case Scale::Ratio:
            return src.between(0.4, 1.6);
        case Scale::Spread:
            return src.logBetween(1e-5, 0.05);
        case Scale::Percent:
            return src.between(18.0, 106.0);
        case Scale::Difference:
            return src.between(-60.0, 60.0);
        case Scale::Speed:
            return src.between(2500.0, 16500.0);
    }
    return 0;
}

void fillSteadyState(SteadyStateRecord& r, SignalSource& src) {
    for (int j = 0; j < kSteadyStateValues; ++j) {
        r.values[j] = valueOf(kSteadyScales[j], src);
    }
    src.timeHistory(r.samples, r.values[kN1Column] / 60.0, src.between(800, 14000));
}

void fillTransient(TransientGroup& g, SignalSource& src) {
    for (int j = 0; j < kTransientValues; ++j) {
        g.averages[j] = valueOf(kTransientScales[j], src);
    }
    for (TransientRecord& r : g.records) {
        for (int j = 0; j < kTransientValues; ++j) {
            r.values[j] = valueOf(kTransientScales[j], src);
        }
        src.timeHistory(r.samples, r.values[kTransientN1Column] / 60.0, src.between(500, 20000));
    }
}

void fillCampbell(FlightBlock& f, SignalSource& src) {
    for (int i = 0; i < kCampbellBands; ++i) {
        f.bands[i] = {12.5f * static_cast<float>(i) + src.between(0, 2), src.between(8, 14)};
    }
    for (CampbellSet& set : f.campbell) {
        set.values = {src.between(20, 105), src.between(20, 105),  src.between(-40, 40),
                      src.between(40, 95),  src.between(120, 260), src.between(-30, 30)};
        for (auto& band : set.bands) {
            band = {src.logBetween(0.001, 3.0), src.between(0, 500), src.between(0, 5),
                    src.between(0, 5)};
        }
    }
}

// Selectors cycle through one set (0), two sets (1) and the values that mean five sets.
quint32 selectorOf(int b, SignalSource& src) {
    switch (b % 4) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
            return 2 + static_cast<quint32>(src.below(9));
        default:
            return 0x80000000u + static_cast<quint32>(src.below(100));
    }
}

}  // namespace

FlightImage::FlightImage(int engineNumber)
    : engineNumber_(engineNumber), blocks_(std::make_unique<Blocks>()) {}

FlightImage::FlightImage(const FlightImage& other)
    : engineNumber_(other.engineNumber_),
      header_(other.header_),
      blocks_(std::make_unique<Blocks>(*other.blocks_)) {}

FlightImage& FlightImage::operator=(const FlightImage& other) {
    if (this != &other) {
        FlightImage copy(other);
        *this = std::move(copy);
    }
    return *this;
}

FlightImage::~FlightImage() = default;

FlightImage FlightImage::generate(quint32 seed, int engineNumber) {
    FlightImage image(engineNumber);
    SignalSource src(seed * 2654435761u ^ static_cast<quint32>(engineNumber) * 40503u);

    image.header_[0] = src.next();  // not used by the program
    image.header_[kTotalFlightsWord] = 200 + src.below(30000);
    image.header_[kTotalHoursWord] = 500 + src.below(60000);
    image.header_[kTotalMinutesWord] = src.below(60);
    image.header_[kCountWord] = src.below(5000);
    image.header_[kAccelSourceWord] = src.below(3);
    for (int i = 0; i < kAlarmLevels; ++i) {
        image.header_[kFirstAlarmWord + i] = 1 + src.below(4);
    }

    // Distinct flight numbers in no particular order, and two to four empty blocks.
    std::array<int, kFlightBlocks> offsets;
    for (int b = 0; b < kFlightBlocks; ++b) {
        offsets[b] = b * 2 + src.below(2);
    }
    for (int b = kFlightBlocks - 1; b > 0; --b) {
        std::swap(offsets[b], offsets[src.below(b + 1)]);
    }
    std::array<bool, kFlightBlocks> empty{};
    for (int n = 2 + src.below(3); n > 0;) {
        bool& e = empty[src.below(kFlightBlocks)];
        if (!e) {
            e = true;
            --n;
        }
    }
    const int base = 100 + src.below(9000);
    int used = 0;
    for (int b = 0; b < kFlightBlocks; ++b) {
        FlightBlock& f = image.block(b);
        for (quint32& w : f.unusedWords) {
            w = src.next();
        }
        f.flightNumber = empty[b] ? 0 : base + offsets[b];
        f.carriedWord = src.next();
        // The first two flights in use lie in each memory; the rest fall where they may.
        f.memory = empty[b] ? src.below(2) : used < 2 ? used : src.below(2);
        used += empty[b] ? 0 : 1;
        for (quint32& level : f.alarmLevels) {
            level = 1 + src.below(4);
        }
        // Empty blocks still hold values: the unit does not clear them.
        for (SteadyStateRecord& r : f.steadyState) {
            fillSteadyState(r, src);
        }
        for (TransientGroup& g : f.transient) {
            fillTransient(g, src);
        }
        f.campbellSelector = selectorOf(b, src);
        fillCampbell(f, src);
        for (quint32& w : f.unusedTail) {
            w = src.next();
        }
    }
    return image;
}

FlightImage FlightImage::erased(int engineNumber) {
    FlightImage image(engineNumber);
    for (int i = 0; i < kAlarmLevels; ++i) {
        image.header_[kFirstAlarmWord + i] = 4;  // no event, no fault
    }
    return image;
}

QByteArray FlightImage::wireResponse() const {
    return serialise(true);
}

QByteArray FlightImage::responseFile() const {
    return serialise(false);
}

// Walks the image in order. Each beginBlock() stands where the image carries a block header;
// the block it opens holds everything up to the next one.
QByteArray FlightImage::serialise(bool bigEndian) const {
    ImageWriter w(bigEndian ? ImageWriter::Order::BigEndian : ImageWriter::Order::LittleEndian);
    const auto reals = [&w](const auto& values) {
        for (float v : values) {
            w.real(v);
        }
    };
    const auto samples = [&w](const std::array<qint16, kSamples>& s) {
        w.beginBlock();
        for (qint16 v : s) {
            w.sample(v);
        }
        w.beginBlock();
    };

    w.beginBlock();
    for (quint32 v : header_) {
        w.word(v);
    }
    for (const FlightBlock& f : *blocks_) {
        w.beginBlock();
        for (quint32 v : f.unusedWords) {
            w.word(v);
        }
        w.word(static_cast<quint32>(f.flightNumber));
        w.word(f.carriedWord);
        w.word(f.memory);
        for (quint32 v : f.alarmLevels) {
            w.word(v);
        }
        w.beginBlock();
        for (const SteadyStateRecord& r : f.steadyState) {
            reals(r.values);
            samples(r.samples);
        }
        for (const TransientGroup& g : f.transient) {
            reals(g.averages);
            w.beginBlock();
            for (const TransientRecord& r : g.records) {
                reals(r.values);
                samples(r.samples);
            }
        }
        w.word(f.campbellSelector);
        w.beginBlock();
        for (const auto& band : f.bands) {
            reals(band);
        }
        for (const CampbellSet& set : f.campbell) {
            reals(set.values);
            for (const auto& band : set.bands) {
                reals(band);
            }
        }
        for (quint32 v : f.unusedTail) {
            w.word(v);
        }
    }
    return w.finish();
}

}  // namespace quorsim
