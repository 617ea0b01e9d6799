#pragma once
// Amplitude spectra of the unit's 1024-sample time histories: a window, a real-input FFT built
// on an in-place radix-2 complex FFT (decimation in frequency), scaling by 1/512 and a
// per-frequency compensation into the "Gpk (compensated)" axis.
//
// The twiddle table of the complex transform, the recombination table of the real transform,
// the window coefficients and the compensation factors are computed once per transform size
// and kept; each thread keeps its own, so calls from several threads are safe.
#include <array>
#include <span>

#include "viewer/FlightDataElement.h"
#include "viewer/Parameters.h"

namespace tolm::viewer {

struct Complex {
    float re = 0.0f;
    float im = 0.0f;
};

class Spectrum {
public:
    static constexpr int kBins = 512;
    static constexpr double kHzPerBin = 9.5367431640625;  // 9765.625 samples/s over 1024
    using Values = std::array<double, kBins>;
    enum class RecordKind { SteadyState, Transient };

    // Multiplies each sample by the window: None 1; Hanning 1 - cos(2 pi n / N); Hamming
    // (0.54 - 0.46 cos(2 pi n / N)) / 0.54. Computed in double, stored back as float.
    static void applyWindow(std::span<float> samples, FftWindow window);

    // In-place forward transform of 2^m complex values (x.size() must be 2^m), natural order
    // in and out.
    static void complexFft(std::span<Complex> x, int m);

    // Forward transform of 2^m real values x (m >= 1) into bins 0 .. 2^(m-1) - 1 of y (which
    // must hold 2^(m-1) values); the Nyquist bin is not produced. x is working storage.
    static void realFft(std::span<float> x, std::span<Complex> y, int m);

    // The compensated value of bin k with magnitude M; 0.0 for bin 0.
    static double compensation(double magnitude, int k);

    // The 512 values plotted for one time history: window, transform, magnitude / 512,
    // compensation; bin 0 cleared, and bin 1 too for steady-state records with the Hanning
    // window.
    static Values ofRecord(const RecordSamples& samples, FftWindow window, RecordKind kind);
};

}  // namespace tolm::viewer
