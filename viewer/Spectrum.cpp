#include "viewer/Spectrum.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numbers>
#include <vector>

namespace tolm::viewer {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = std::numbers::pi;

// A table that cannot be allocated ends the program, as nothing can be plotted without it.
template <class T>
void allocate(std::vector<T>& table, std::size_t size, const char* failure) {
    try {
        table.assign(size, T{});
    } catch (const std::bad_alloc&) {
        std::fputs(failure, stderr);
        std::fputs("\n", stderr);
        std::exit(1);
    }
}

// The per-thread tables, each tagged with the size it was built for.
struct Tables {
    int twiddleM = 0;
    std::vector<Complex> twiddle;  // (cos((i+1)a), -sin((i+1)a)), a = pi / (n/2)
    int recombinationM = 0;
    std::vector<Complex> recombination;  // (cos(k b), sin(k b)), b = pi / (n/2)
    FftWindow window = FftWindow::None;
    std::vector<double> windowCoefficients;
    std::vector<double> compensationFactors;  // everything but the magnitude, per bin
    std::vector<float> scratch;
    std::vector<Complex> stageTwiddles;
    std::vector<Complex> bins;
};

Tables& tables() {
    thread_local Tables t;
    return t;
}

const std::vector<Complex>& twiddleTable(int m) {
    Tables& t = tables();
    if (t.twiddleM != m) {
        t.twiddle.clear();
        t.twiddleM = m;
        if (m == 0) {
            return t.twiddle;
        }
        const int half = (1 << m) / 2;
        allocate(t.twiddle, std::size_t(half - 1), "Unable to allocate complex W array.");
        const double a = kPi / half;
        const double wr = std::cos(a), wi = -std::sin(a);
        double re = wr, im = wi;
        for (int i = 0; i + 1 < half; ++i) {
            t.twiddle[i] = Complex{float(re), float(im)};
            const double next = re * wr - im * wi;
            im = re * wi + im * wr;
            re = next;
        }
    }
    return t.twiddle;
}

const std::vector<Complex>& recombinationTable(int m) {
    Tables& t = tables();
    if (t.recombinationM != m) {
        t.recombinationM = m;
        const int half = (1 << m) / 2;
        allocate(t.recombination, std::size_t(half - 1),
                 "Unable to allocate trig recomb coefficients.");
        const double b = kPi / half;
        for (int k = 1; k < half; ++k) {
            t.recombination[k - 1] = Complex{float(std::cos(k * b)), float(std::sin(k * b))};
        }
    }
    return t.recombination;
}

double windowValue(FftWindow window, int n, int count) {
    switch (window) {
        case FftWindow::Hanning:
            return 1.0 - std::cos(kTwoPi * n / count);
        case FftWindow::Hamming:
            return (0.54 - 0.46 * std::cos(kTwoPi * n / count)) / 0.54;
        case FftWindow::None:
            break;
    }
    return 1.0;
}

const std::vector<double>& windowCoefficients(FftWindow window, std::size_t count) {
    Tables& t = tables();
    if (t.window != window || t.windowCoefficients.size() != count) {
        t.window = window;
        t.windowCoefficients.resize(count);
        for (std::size_t n = 0; n < count; ++n) {
            t.windowCoefficients[n] = windowValue(window, int(n), int(count));
        }
    }
    return t.windowCoefficients;
}

// Compensation without the magnitude, in the order of evaluation that the axis is defined by:
// (D x (B x A x C)) x E / 0.5896, doubled, times 3.814697265625e-05.
double compensationFactor(int k) {
    const double f = k * Spectrum::kHzPerBin;
    const double x = f / 15055.0;
    const double a = std::sqrt((1.0 - x * x) * (1.0 - x * x) + 2.0 * (x * x));
    const double y = 1.061 / f;
    const double b = std::sqrt(y * y + 1.0);
    const double z = 5.0 / f;
    const double c = std::sqrt((1.0 - z * z) * (1.0 - z * z) + 2.0 * (z * z));
    const double r = f / 5000.0;
    double d = 1.0;
    if (r >= 1.5) {
        d = std::pow(10.0, 3.5);
    } else if (r >= 1.1) {
        d = std::pow(10.0, 7.0 * (r - 1.0));
    } else if (r >= 1.0) {
        d = std::sqrt(1.25);
    }
    const double e = std::sqrt(f / 15900.0 + 1.0);
    double v = (d * (b * a * c)) * e / 0.5896;
    v = v * 2.0;
    return v * 3.814697265625e-05;
}

const std::vector<double>& compensationFactors() {
    Tables& t = tables();
    if (t.compensationFactors.empty()) {
        t.compensationFactors.resize(Spectrum::kBins);
        for (int k = 1; k < Spectrum::kBins; ++k) {
            t.compensationFactors[k] = compensationFactor(k);
        }
    }
    return t.compensationFactors;
}

}  // namespace

void Spectrum::applyWindow(std::span<float> samples, FftWindow window) {
    if (window == FftWindow::None || samples.empty()) {
        return;
    }
    const std::vector<double>& w = windowCoefficients(window, samples.size());
    for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] = float(samples[n] * w[n]);
    }
}

void Spectrum::complexFft(std::span<Complex> x, int m) {
    const std::vector<Complex>& w = twiddleTable(m);
    if (m == 0) {
        return;
    }
    const int n = 1 << m;
    if (int(x.size()) != n) {
        return;
    }
    // Stage by stage; within a group the butterflies run over neighbouring elements with the
    // stage's twiddles gathered in order, which computes exactly the same values.
    std::vector<Complex>& stageTwiddles = tables().stageTwiddles;
    stageTwiddles.resize(std::size_t(n / 2));
    int le = n;
    int step = 1;
    for (int stage = 0; stage < m; ++stage) {
        le /= 2;
        for (int j = 1; j < le; ++j) {
            stageTwiddles[j] = w[j * step - 1];
        }
        const Complex* t = stageTwiddles.data();
        for (int g = 0; g < n; g += 2 * le) {
            Complex* u = x.data() + g;
            Complex* v = u + le;
            const Complex first{u[0].re - v[0].re, u[0].im - v[0].im};
            u[0] = Complex{u[0].re + v[0].re, u[0].im + v[0].im};
            v[0] = first;  // W = 1: no multiplication
            for (int j = 1; j < le; ++j) {
                const Complex sum{u[j].re + v[j].re, u[j].im + v[j].im};
                const Complex diff{u[j].re - v[j].re, u[j].im - v[j].im};
                v[j] = Complex{diff.re * t[j].re - diff.im * t[j].im,
                               diff.re * t[j].im + diff.im * t[j].re};
                u[j] = sum;
            }
        }
        step *= 2;
    }
    // Bit-reversed order back to natural order.
    int j = 0;
    for (int i = 1; i < n - 1; ++i) {
        int k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
        if (i < j) {
            std::swap(x[i], x[j]);
        }
    }
}

void Spectrum::realFft(std::span<float> x, std::span<Complex> y, int m) {
    if (m < 1 || x.size() != (std::size_t(1) << m) || y.size() != x.size() / 2) {
        return;
    }
    const int half = 1 << (m - 1);
    std::vector<Complex>& z = tables().bins;
    z.resize(half);
    for (int i = 0; i < half; ++i) {
        z[i] = Complex{x[2 * i], x[2 * i + 1]};
    }
    complexFft(z, m - 1);
    const std::vector<Complex>& cs = recombinationTable(m);

    y[0] = Complex{z[0].re + z[0].im, 0.0f};
    for (int k = 1; k < half; ++k) {
        const Complex a = z[k];
        const Complex b = z[half - k];
        const float c = cs[k - 1].re, s = cs[k - 1].im;
        const float p = (a.im + b.im) / 2;
        const float q = (a.re - b.re) / 2;
        y[k].re = (a.re + b.re) / 2 + p * c - q * s;
        y[k].im = (a.im - b.im) / 2 - p * s - q * c;
    }
}

double Spectrum::compensation(double magnitude, int k) {
    if (k == 0) {
        return 0.0;
    }
    return compensationFactor(k) * magnitude / 0.04255;
}

Spectrum::Values Spectrum::ofRecord(const RecordSamples& samples, FftWindow window,
                                    RecordKind kind) {
    // The plot's values in G divided back by the G of one count give the counts exactly.
    std::vector<float>& x = tables().scratch;
    x.assign(samples.begin(), samples.end());
    applyWindow(x, window);
    std::array<Complex, kBins> y;
    realFft(x, y, 10);

    const std::vector<double>& factors = compensationFactors();
    Values values;
    values[0] = 0.0;
    for (int k = 1; k < kBins; ++k) {
        const float magnitude = std::sqrt(y[k].re * y[k].re + y[k].im * y[k].im) * 0.001953125f;
        values[k] = factors[k] * double(magnitude) / 0.04255;
    }
    if (kind == RecordKind::SteadyState && window == FftWindow::Hanning) {
        values[1] = 0.0;
    }
    return values;
}

}  // namespace tolm::viewer
