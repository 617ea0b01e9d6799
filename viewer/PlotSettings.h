#pragma once
// The plot window's keys in the settings store, their defaults, and typed reads and writes.
// Read once when the window is built; each change writes its own key at once.
#include <QString>

#include "viewer/PlotChoices.h"

namespace tolm::viewer {

class PlotSettings {
public:
    static inline const QString kPlotTypeKey = QStringLiteral("Plot2D_PlotType");
    static inline const QString kParmTypeKey = QStringLiteral("Plot2D_ParmType");
    static inline const QString kBinKey = QStringLiteral("Plot2D_TransientBinType");
    static inline const QString kLastFlightKey = QStringLiteral("Plot2D_LastFlight");
    static inline const QString kLastSampleKey = QStringLiteral("Plot2D_LastSample");
    static inline const QString kXGridKey = QStringLiteral("Plot2D_XGrid");
    static inline const QString kYGridKey = QStringLiteral("Plot2D_YGrid");
    static inline const QString kWindowKey = QStringLiteral("Plot2D_FFT_WINDOW_TYPE");
    static inline const QString kMemTypeKey = QStringLiteral("Plot2D_MemType");

    // Every key; a missing one, or one holding a value outside its range, reads as its default.
    static PlotChoices load();
    static int readMemoryType();

    static void storePlotType(PlotType type);
    static void storeParameter(int identifier);
    static void storeBin(int bin);
    static void storeLastFlight(int flightNumber);
    static void storeLastSample(int record);
    static void storeXGrid(bool on);
    static void storeYGrid(bool on);
    static void storeWindow(FftWindow window);
    static void storeMemoryType(int memoryType);
};

}  // namespace tolm::viewer
