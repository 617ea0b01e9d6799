#pragma once
// What the viewer plots: the two plot types, the 23 parameters with their identifiers, menu names
// and y-axis titles, the four transient bins, the three FFT windows, the two memory types.
#include <QString>
#include <array>

namespace tolm::viewer {

enum class PlotType { SteadyState = 0, Transient = 1 };

// Parameter identifiers. 0 to 19 are rows of values; 20 to 22 are time-history views.
inline constexpr int kParameterCount = 23;
inline constexpr int kA4R = 10;
inline constexpr int kTR4RAvg = 1;
inline constexpr int kTR4RStd = 2;
inline constexpr int kTimeHistory = 20;
inline constexpr int kFft = 21;
inline constexpr int kWaterfallFft = 22;

struct Parameter {
    int identifier;
    const char* name;    // as the menu shows it
    const char* yTitle;  // the chart's y-axis title
};

class Parameters {
public:
    // The 23 parameters in menu order.
    static const std::array<Parameter, kParameterCount>& inMenuOrder();
    static bool isValid(int identifier) { return identifier >= 0 && identifier < kParameterCount; }
    // Name and y-axis title of an identifier; empty for an unknown one.
    static QString name(int identifier);
    static QString yTitle(int identifier);
    // The identifier whose menu name equals the text, ignoring case; -1 when none does.
    static int fromName(const QString& name);

    // Transient identifiers 0 and 3 to 9 plot the group averages of the four bins.
    static bool isTransientAverage(int identifier) {
        return identifier == 0 || (identifier >= 3 && identifier <= 9);
    }
    // Transient data hold no values for these two; the menu disables them.
    static bool hasNoTransientData(int identifier) {
        return identifier == kTR4RAvg || identifier == kTR4RStd;
    }
    static bool isTimeHistoryView(int identifier) {
        return identifier == kTimeHistory || identifier == kFft;
    }
};

inline constexpr int kTransientBins = 4;
class TransientBins {
public:
    static QString name(int bin);        // "Top Of Climb", ...; empty outside 0..3
    static QString shortLabel(int bin);  // "TOC", ...; empty outside 0..3
};

enum class FftWindow { None = 0, Hanning = 1, Hamming = 2 };
inline constexpr int kFftWindowCount = 3;
class FftWindows {
public:
    static QString name(FftWindow window);  // "None", "Hanning", "Hamming"
    static bool isValid(int value) { return value >= 0 && value < kFftWindowCount; }
    // The window whose name equals the text, ignoring case; -1 when none does.
    static int fromName(const QString& name);
};

class MemoryTypes {
public:
    static QString name(int memoryType);  // "Pre-Defect" (0), "Post-Defect" (1)
};

}  // namespace tolm::viewer
