// Redrawing the viewer's chart as a parameter change does: suspend, new data object, every set's
// arrays, texts, resume (one replot), and the window painted. Goal: under 20 ms per redraw.
// Run offscreen: QT_QPA_PLATFORM=offscreen (set here when the environment has none).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <vector>

#include "viewer/ui/ChartCanvas.h"
#include "viewer/ui/Xrt2dPlot.h"

namespace {

constexpr int kPoints = 512;
constexpr double kBinHz = 9.5367431640625;

struct Spectra {
    std::vector<double> x;
    std::vector<std::vector<double>> y;
};

// Spectrum-like curves: a few peaks over a falling floor, different for every set.
Spectra MakeSpectra(int sets, bool offsets) {
    Spectra s;
    s.x.resize(kPoints);
    for (int p = 0; p < kPoints; ++p) {
        s.x[p] = p * kBinHz;
    }
    s.y.assign(sets, std::vector<double>(kPoints));
    for (int set = 0; set < sets; ++set) {
        for (int p = 0; p < kPoints; ++p) {
            const double peaks = std::exp(-std::pow((p - 40.0 - 7 * set) / 3.0, 2)) +
                                 0.5 * std::exp(-std::pow((p - 180.0 - 3 * set) / 5.0, 2));
            s.y[set][p] = 0.05 / (1.0 + p * 0.02) + 0.8 * peaks + (offsets ? set + 1.0 : 0.0);
        }
    }
    return s;
}

void Redraw(Xrt2dPlot& chart, const Spectra& spectra, benchmark::State& state) {
    const int sets = int(spectra.y.size());
    for (auto _ : state) {
        chart.SuspendDrawing();
        chart.ReplaceData(Xrt2dPlot::GeneralData, sets, kPoints);
        for (int s = 0; s < sets; ++s) {
            chart.SetPoints(s, spectra.x, spectra.y[s]);
        }
        chart.SetHeader(
            {"Steady State Frequency Spectra: HB-IJK: Engine 1", "Pre-Defect", "Window: Hanning"});
        chart.SetFooter({"Bin #4"});
        chart.SetXAxisTitle("Frequency (Hz)");
        chart.SetYOrigin(0.0);
        chart.ResumeDrawing();
        chart.Canvas()->repaint();
    }
    state.counters["sets"] = sets;
    state.counters["replot_ms"] = chart.Canvas()->replotTime(true);
}

void BM_FftOfTenFlights(benchmark::State& state) {
    Xrt2dPlot chart;
    chart.resize(1000, 700);
    chart.show();
    QStringList labels;
    for (int s = 0; s < 10; ++s) {
        ChartStyle style = ChartStyle::Default(s);
        style.symbol = ChartSymbol::None;
        if (s >= 8) {
            style.line = Qt::DashLine;
        }
        chart.SetDataStyle(s, style);
        labels << QStringLiteral("Flight %1").arg(1200 + s);
    }
    chart.SetLegendLabels(labels);
    chart.SetYAxisTitle("Gpk (compensated)");
    Redraw(chart, MakeSpectra(10, false), state);
}
BENCHMARK(BM_FftOfTenFlights)->Unit(benchmark::kMillisecond);

void BM_WaterfallOf26Records(benchmark::State& state) {
    Xrt2dPlot chart;
    chart.resize(1000, 700);
    chart.show();
    for (int s = 0; s < 26; ++s) {
        ChartStyle style = ChartStyle::Default(0);
        style.symbol = ChartSymbol::None;
        chart.SetDataStyle(s, style);
    }
    chart.SetLegendLabels({});
    chart.SetYAxisTitle("Bin");
    Redraw(chart, MakeSpectra(26, true), state);
}
BENCHMARK(BM_WaterfallOf26Records)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
