#include "viewer/ChartBuilder.h"

#include <algorithm>

#include "viewer/CFormat.h"
#include "viewer/Spectrum.h"

namespace tolm::viewer {

namespace {

constexpr double kMsPerSample = 0.1024;
const QString kBinTitle = QStringLiteral("Bin #");
const QString kTimeTitle = QStringLiteral("Time History (ms)");
const QString kFrequencyTitle = QStringLiteral("Frequency (Hz)");

bool isSteady(const ChartRequest& r) {
    return r.plotType == PlotType::SteadyState;
}

QStringList headerLines(const QList<FlightDataElement>& flights, const ChartRequest& r) {
    const QByteArray aircraft =
        flights.isEmpty() ? QByteArray() : flights[0].aircraft().toLocal8Bit();
    const int engine = flights.isEmpty() ? 0 : flights[0].engine();
    const char* format = nullptr;
    if (r.parameter == kWaterfallFft) {
        format = isSteady(r) ? "Steady State Frequency Spectra: %s: Engine %d"
                             : "Transient Frequency Spectra: %s: Engine %d";
    } else {
        format = isSteady(r) ? "Steady State Data: %s: Engine %d" : "Transient Data: %s: Engine %d";
    }
    return {cFormatText(format, aircraft.constData(), engine), MemoryTypes::name(r.memoryType),
            QStringLiteral("Window: %1").arg(FftWindows::name(r.window))};
}

RecordSamples samplesOf(const FlightDataElement& f, const ChartRequest& r, int record) {
    return isSteady(r) ? f.steadySamples(record) : f.transientSamples(r.bin, record);
}

Spectrum::RecordKind kindOf(const ChartRequest& r) {
    return isSteady(r) ? Spectrum::RecordKind::SteadyState : Spectrum::RecordKind::Transient;
}

// A set of `count` points with X = p + 1 and Y from the function.
template <class Value>
DataSet valueSet(int count, Value value) {
    DataSet s;
    s.x.resize(count);
    s.y.resize(count);
    for (int p = 0; p < count; ++p) {
        s.x[p] = p + 1;
        s.y[p] = value(p);
    }
    return s;
}

DataSet timeHistorySet(const RecordSamples& samples) {
    DataSet s;
    s.x.resize(kSamplesPerRecord);
    s.y.resize(kSamplesPerRecord);
    for (int p = 0; p < kSamplesPerRecord; ++p) {
        s.x[p] = p * kMsPerSample;
        s.y[p] = samples[p] * kGPerCount;
    }
    return s;
}

DataSet spectrumSet(const RecordSamples& samples, const ChartRequest& r, double offset) {
    const Spectrum::Values values = Spectrum::ofRecord(samples, r.window, kindOf(r));
    DataSet s;
    s.x.resize(Spectrum::kBins);
    s.y.resize(Spectrum::kBins);
    for (int p = 0; p < Spectrum::kBins; ++p) {
        s.x[p] = p * Spectrum::kHzPerBin;
        s.y[p] = values[p] + offset;
    }
    return s;
}

// One set per flight, for every plot but Waterfall FFT.
DataSet flightSet(const FlightDataElement& f, const ChartRequest& r) {
    const int id = r.parameter;
    if (id == kTimeHistory) {
        return timeHistorySet(samplesOf(f, r, r.sample));
    }
    if (id == kFft) {
        return spectrumSet(samplesOf(f, r, r.sample), r, 0.0);
    }
    if (isSteady(r)) {
        return valueSet(kSteadyRecords, [&](int p) { return double(f.steadyValue(id, p)); });
    }
    if (Parameters::isTransientAverage(id)) {
        return valueSet(kTransientBins, [&](int p) { return double(f.transientAverage(id, p)); });
    }
    return valueSet(kTransientRecords,
                    [&](int p) { return double(f.transientValue(id - 10, r.bin, p)); });
}

void fillWaterfall(ChartContents& c, const QList<FlightDataElement>& flights,
                   const ChartRequest& r) {
    const bool valid = r.waterfallFlight >= 0 && r.waterfallFlight < flights.size();
    const int records = isSteady(r) ? kSteadyRecords : kTransientRecords;
    for (int record = 0; record < records; ++record) {
        const RecordSamples samples =
            valid ? samplesOf(flights[r.waterfallFlight], r, record) : RecordSamples{};
        DataSet s = spectrumSet(samples, r, record + 1);
        s.shown = std::any_of(samples.begin(), samples.end(), [](qint16 v) { return v != 0; });
        c.sets.append(std::move(s));
    }
    c.waterfallFlight = valid ? flights[r.waterfallFlight].flightNumber() : 0;
    c.xTitle = kFrequencyTitle;
    c.footer = QStringList{QStringLiteral("Flight #%1").arg(c.waterfallFlight)};
    if (!isSteady(r)) {
        c.footer.append(TransientBins::name(r.bin));
    }
    c.drawing = SetDrawing::Lines;
    c.singleColour = true;
    c.showLegend = false;
}

void fillTitlesAndFooter(ChartContents& c, const ChartRequest& r) {
    const int id = r.parameter;
    const bool timeView = Parameters::isTimeHistoryView(id);
    if (isSteady(r)) {
        c.xTitle = id == kTimeHistory ? kTimeTitle : id == kFft ? kFrequencyTitle : kBinTitle;
        if (timeView) {
            c.footer = QStringList{QStringLiteral("Bin #%1").arg(r.sample + 1)};
        }
        return;
    }
    c.xTitle = id == kTimeHistory ? kTimeTitle : id == kFft ? kFrequencyTitle : QString();
    if (timeView) {
        c.footer = QStringList{QString(), QStringLiteral("Time History #%1 (%2)")
                                              .arg(r.sample + 1)
                                              .arg(TransientBins::name(r.bin))};
    } else if (id < 10) {  // the averages over the four bins, and the two without data
        c.footer = QStringList{QString(), Parameters::name(id)};
    } else {
        c.footer = QStringList{QString(), TransientBins::name(r.bin)};
    }
    if (Parameters::isTransientAverage(id)) {
        c.xAnnotatedByLabels = true;
        for (int bin = 0; bin < kTransientBins; ++bin) {
            c.valueLabels.append(ValueLabel{bin + 1.0, TransientBins::shortLabel(bin)});
        }
    }
}

double lowestPlotted(const QList<DataSet>& sets) {
    double lowest = 0.0;
    for (const DataSet& s : sets) {
        for (double y : s.y) {
            lowest = std::min(lowest, y);
        }
    }
    return lowest;
}

}  // namespace

ChartContents ChartBuilder::build(const QList<FlightDataElement>& flights, const ChartRequest& r) {
    ChartContents c;
    c.plotType = r.plotType;
    c.parameter = r.parameter;
    c.header = headerLines(flights, r);
    c.yTitle = Parameters::yTitle(r.parameter);

    if (r.parameter == kWaterfallFft) {
        fillWaterfall(c, flights, r);
        return c;
    }
    for (const FlightDataElement& f : flights) {
        c.legend.append(QStringLiteral("Flight %1").arg(f.flightNumber()));
    }
    fillTitlesAndFooter(c, r);
    c.drawing = Parameters::isTimeHistoryView(r.parameter) ? SetDrawing::Lines : SetDrawing::Points;
    // Transient data hold nothing for these two: no sets rather than another plot's data.
    if (!isSteady(r) && Parameters::hasNoTransientData(r.parameter)) {
        return c;
    }
    for (int i = 0; i < flights.size(); ++i) {
        DataSet s = flightSet(flights[i], r);
        s.shown = r.shown.value(i, true);
        s.secondLinePattern = i == 8 || i == 9;
        c.sets.append(std::move(s));
    }
    if (r.parameter == kA4R || r.parameter == kTimeHistory) {
        c.yOrigin = lowestPlotted(c.sets);
    }
    return c;
}

}  // namespace tolm::viewer
