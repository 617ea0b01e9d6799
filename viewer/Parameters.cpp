#include "viewer/Parameters.h"

namespace tolm::viewer {

namespace {

constexpr std::array<Parameter, kParameterCount> kParameters = {{
    {10, "A4R", "A4R (Gpk)"},
    {11, "TR4R", "TR4R"},
    {12, "N1-4R", "N1-4R (RPM)"},
    {13, "N2-4R", "N2-4R (RPM)"},
    {0, "A4R_avg", "A4R_avg"},
    {1, "TR4R_avg", "TR4R_avg"},
    {2, "TR4R_std", "TR4R_std"},
    {14, "CN1", "CN1"},
    {15, "CN2", "CN2"},
    {16, "CDN", "CDN"},
    {3, "CN1_avg", "CN1_avg"},
    {4, "CN2_avg", "CN2_avg"},
    {5, "CDN_avg", "CDN_avg"},
    {17, "A3B", "A3B (Gpk)"},
    {18, "TR3B", "TR3B"},
    {19, "N2-3B", "N2-3B (RPM)"},
    {6, "A3B_avg", "A3B_avg"},
    {7, "TR3B_avg", "TR3B_avg"},
    {8, "A3B_std", "A3B_std"},
    {9, "TR3B_std", "TR3B_std"},
    {20, "Time History", "Magnitude (G)"},
    {21, "FFT", "Gpk (compensated)"},
    {22, "Waterfall FFT", "Bin"},
}};

const Parameter* find(int identifier) {
    for (const Parameter& p : kParameters) {
        if (p.identifier == identifier) {
            return &p;
        }
    }
    return nullptr;
}

const char* const kBinNames[kTransientBins] = {"Top Of Climb", "Top Of Descent", "All Other Decels",
                                               "All Other Accels"};
const char* const kBinLabels[kTransientBins] = {"TOC", "TOD", "AOD", "AOA"};
const char* const kWindowNames[kFftWindowCount] = {"None", "Hanning", "Hamming"};

}  // namespace

const std::array<Parameter, kParameterCount>& Parameters::inMenuOrder() {
    return kParameters;
}

QString Parameters::name(int identifier) {
    const Parameter* p = find(identifier);
    return p ? QString::fromLatin1(p->name) : QString();
}

QString Parameters::yTitle(int identifier) {
    const Parameter* p = find(identifier);
    return p ? QString::fromLatin1(p->yTitle) : QString();
}

int Parameters::fromName(const QString& name) {
    for (const Parameter& p : kParameters) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            return p.identifier;
        }
    }
    return -1;
}

QString TransientBins::name(int bin) {
    return bin >= 0 && bin < kTransientBins ? QString::fromLatin1(kBinNames[bin]) : QString();
}

QString TransientBins::shortLabel(int bin) {
    return bin >= 0 && bin < kTransientBins ? QString::fromLatin1(kBinLabels[bin]) : QString();
}

QString FftWindows::name(FftWindow window) {
    const int i = int(window);
    return isValid(i) ? QString::fromLatin1(kWindowNames[i]) : QString();
}

int FftWindows::fromName(const QString& name) {
    for (int i = 0; i < kFftWindowCount; ++i) {
        if (name.compare(QLatin1String(kWindowNames[i]), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QString MemoryTypes::name(int memoryType) {
    return memoryType == 0 ? QStringLiteral("Pre-Defect") : QStringLiteral("Post-Defect");
}

}  // namespace tolm::viewer
