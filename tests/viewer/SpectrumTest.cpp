// Spectra against inputs whose transforms are known.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

#include "viewer/Spectrum.h"

using namespace tolm::viewer;
using Kind = Spectrum::RecordKind;

namespace {

constexpr double kPi = std::numbers::pi;

RecordSamples record(const std::function<double(int)>& value) {
    RecordSamples s;
    for (int n = 0; n < 1024; ++n) {
        s[n] = qint16(std::lround(value(n)));
    }
    return s;
}

// The compensation written out from its definition, evaluated left to right as stated.
double expectedCompensation(double m, int k) {
    const double f = k * 9.5367431640625;
    const double a =
        std::sqrt(std::pow(1 - std::pow(f / 15055, 2), 2) + 2 * std::pow(f / 15055, 2));
    const double b = std::sqrt(std::pow(1.061 / f, 2) + 1);
    const double c = std::sqrt(std::pow(1 - std::pow(5 / f, 2), 2) + 2 * std::pow(5 / f, 2));
    const double r = f / 5000;
    const double d = r < 1.0   ? 1.0
                     : r < 1.1 ? std::sqrt(1.25)
                     : r < 1.5 ? std::pow(10, 7 * (r - 1))
                               : std::pow(10, 3.5);
    const double e = std::sqrt(f / 15900 + 1);
    return (d * (b * a * c)) * e / 0.5896 * 2 * 3.814697265625e-05 * m / 0.04255;
}

// The transform of 2^m random values against the definition of the DFT, summed naively.
void expectMatchesDft(int m, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    const int n = 1 << m;
    std::vector<Complex> x(n);
    for (Complex& c : x) {
        c = Complex{value(random), value(random)};
    }
    std::vector<std::complex<double>> expected(n);
    for (int k = 0; k < n; ++k) {
        for (int t = 0; t < n; ++t) {
            expected[k] +=
                std::complex<double>(x[t].re, x[t].im) * std::polar(1.0, -2 * kPi * k * t / n);
        }
    }
    Spectrum::complexFft(x, m);
    for (int k = 0; k < n; ++k) {
        ASSERT_NEAR(x[k].re, expected[k].real(), 0.05) << "m " << m << " bin " << k;
        ASSERT_NEAR(x[k].im, expected[k].imag(), 0.05) << "m " << m << " bin " << k;
    }
}

}  // namespace

TEST(Spectrum, ComplexTransformMatchesTheDefinitionWhateverSizeCameBeforeOrRunsBeside) {
    expectMatchesDft(4, 1);
    expectMatchesDft(9, 2);  // the tables are rebuilt for a new size...
    expectMatchesDft(4, 3);  // ...and again for the old one
    expectMatchesDft(1, 4);
    std::vector<Complex> one{{3.0f, 4.0f}};
    Spectrum::complexFft(one, 0);
    EXPECT_EQ(one[0].re, 3.0f);

    // Threads computing spectra while others transform other sizes agree.
    const RecordSamples s = record([](int n) { return 900 * std::sin(n * 0.3) + 50 * (n % 7); });
    const Spectrum::Values alone = Spectrum::ofRecord(s, FftWindow::Hamming, Kind::SteadyState);
    std::vector<Spectrum::Values> results(2);
    std::vector<std::jthread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                std::vector<Complex> other(std::size_t(8) << t);
                Spectrum::complexFft(other, 3 + t);  // another size in between
                results[t] = Spectrum::ofRecord(s, FftWindow::Hamming, Kind::SteadyState);
            }
        });
    }
    threads.clear();  // joins them
    EXPECT_EQ(results[0], alone);
    EXPECT_EQ(results[1], alone);
}

TEST(Spectrum, ZerosGiveZerosDcIsClearedAndASineAtBinKHasItsAmplitudeBeforeCompensation) {
    const RecordSamples dc = record([](int) { return 1000; });
    for (FftWindow w : {FftWindow::None, FftWindow::Hanning, FftWindow::Hamming}) {
        for (Kind kind : {Kind::SteadyState, Kind::Transient}) {
            const Spectrum::Values zeros = Spectrum::ofRecord(RecordSamples{}, w, kind);
            EXPECT_TRUE(std::all_of(zeros.begin(), zeros.end(), [](double v) { return v == 0.0; }));

            const Spectrum::Values cleared = Spectrum::ofRecord(dc, w, kind);
            EXPECT_EQ(cleared[0], 0.0);
            for (int k = 2; k < Spectrum::kBins; ++k) {
                ASSERT_NEAR(cleared[k], 0.0, 1e-4) << int(w) << " bin " << k;
            }
        }
    }
    // The windows leak DC into bin 1 by their cosine term: Hanning's is the whole amplitude,
    // Hamming's 0.46 / 0.54 of it. Steady-state records with Hanning clear bin 1 as well.
    EXPECT_EQ(Spectrum::ofRecord(dc, FftWindow::Hanning, Kind::SteadyState)[1], 0.0);
    EXPECT_NEAR(Spectrum::ofRecord(dc, FftWindow::Hanning, Kind::Transient)[1],
                expectedCompensation(1000.0, 1), 1e-4);
    EXPECT_NEAR(Spectrum::ofRecord(dc, FftWindow::Hamming, Kind::SteadyState)[1],
                expectedCompensation(1000.0 * 0.46 / 0.54, 1), 1e-4);
    EXPECT_NEAR(Spectrum::ofRecord(dc, FftWindow::None, Kind::Transient)[1], 0.0, 1e-6);

    // A sine at bin k with amplitude a has magnitude a before compensation.
    for (int k : {1, 37, 200, 511}) {
        const double a = 1234.0;
        const RecordSamples s = record([&](int n) { return a * std::cos(2 * kPi * k * n / 1024); });
        std::vector<float> x(s.begin(), s.end());
        std::vector<Complex> y(512);
        Spectrum::realFft(x, y, 10);
        EXPECT_NEAR(std::hypot(y[k].re, y[k].im) / 512.0, a, 0.5) << k;

        const Spectrum::Values v = Spectrum::ofRecord(s, FftWindow::None, Kind::Transient);
        EXPECT_NEAR(v[k], expectedCompensation(a, k), expectedCompensation(0.5, k)) << k;
        EXPECT_NEAR(v[(k + 100) % 512], 0.0, 0.01) << k;
    }

    // The compensation follows its definition in every frequency band.
    EXPECT_EQ(Spectrum::compensation(5.0, 0), 0.0);
    EXPECT_DOUBLE_EQ(Spectrum::compensation(1000.0, 1), 3.174324763337394);
    // 525, 600 and 800: the bands at and above 5000 Hz, which the viewer's 512 bins never reach.
    for (int k : {1, 2, 100, 511, 525, 600, 800}) {
        for (double m : {1.0, 0.001953125, 1234.5}) {
            EXPECT_NEAR(Spectrum::compensation(m, k), expectedCompensation(m, k),
                        1e-13 * expectedCompensation(m, k))
                << k;
        }
    }
}
