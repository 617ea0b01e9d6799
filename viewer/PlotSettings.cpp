#include "viewer/PlotSettings.h"

#include <climits>

#include "core/SettingsStore.h"

namespace tolm::viewer {

namespace {

int readInt(const SettingsStore& s, const QString& key, int fallback, int low, int high) {
    bool ok = false;
    const int v = s.value(key, fallback).toInt(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

void store(const QString& key, const QVariant& value) {
    SettingsStore().setValue(key, value);
}

}  // namespace

PlotChoices PlotSettings::load() {
    const SettingsStore s;
    PlotChoices c;
    c.plotType = PlotType(readInt(s, kPlotTypeKey, 0, 0, 1));
    c.parameter = readInt(s, kParmTypeKey, kA4R, 0, kParameterCount - 1);
    c.bin = readInt(s, kBinKey, 0, 0, kTransientBins - 1);
    c.lastFlight = readInt(s, kLastFlightKey, -1, INT_MIN, INT_MAX);
    c.lastSample = readInt(s, kLastSampleKey, -1, INT_MIN, INT_MAX);
    c.xGrid = s.value(kXGridKey, false).toBool();
    c.yGrid = s.value(kYGridKey, false).toBool();
    c.window = FftWindow(readInt(s, kWindowKey, 0, 0, kFftWindowCount - 1));
    c.memoryType = readInt(s, kMemTypeKey, 0, 0, 1);
    return c;
}

int PlotSettings::readMemoryType() {
    return readInt(SettingsStore(), kMemTypeKey, 0, 0, 1);
}

void PlotSettings::storePlotType(PlotType type) {
    store(kPlotTypeKey, int(type));
}
void PlotSettings::storeParameter(int identifier) {
    store(kParmTypeKey, identifier);
}
void PlotSettings::storeBin(int bin) {
    store(kBinKey, bin);
}
void PlotSettings::storeLastFlight(int flightNumber) {
    store(kLastFlightKey, flightNumber);
}
void PlotSettings::storeLastSample(int record) {
    store(kLastSampleKey, record);
}
void PlotSettings::storeXGrid(bool on) {
    store(kXGridKey, on);
}
void PlotSettings::storeYGrid(bool on) {
    store(kYGridKey, on);
}
void PlotSettings::storeWindow(FftWindow window) {
    store(kWindowKey, int(window));
}
void PlotSettings::storeMemoryType(int memoryType) {
    store(kMemTypeKey, uint(memoryType));
}

}  // namespace tolm::viewer
