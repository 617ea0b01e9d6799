// The trend window's memory: the resident size and the heap in use of the process with the main
// window's form shown, then with a trend window open on an engine of 10,000 flights (500 sparse
// raw files of 20 flights, the index already built), drawn, and with its tabulation of every
// flight. Prints the megabytes the trend window adds (the aim: under 50) and its ratio to the
// baseline, and the time to open and draw it; nothing is asserted. Under AddressSanitizer the
// resident size counts the sanitizer's shadow and red zones too; the heap in use does not.
#include <benchmark/benchmark.h>
#include <malloc.h>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's own count of the heap in use (its header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "bench/health/SparseRawFile.h"
#include "core/Config.h"
#include "core/SettingsStore.h"
#include "health/FlightIndex.h"
#include "health/Trend.h"
#include "health/ui/HealthEvents.h"
#include "health/ui/TrendWindow.h"
#include "register/TolmAircraftSettings.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/PumpEvents.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;
using namespace tolm::health;

namespace {

constexpr int kTrendFiles = 500;  // 500 x 20 = 10,000 flights
constexpr qint32 kSerial = 777777;

// The resident set in megabytes.
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The heap in use in megabytes: what the program asked for and holds, without the allocator's or
// a sanitizer's own overhead (which the resident size includes).
double heapMb() {
#if defined(__SANITIZE_ADDRESS__)
    const double bytes = double(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    const double bytes = double(info.uordblks + info.hblkhd);
#endif
    return bytes / (1024.0 * 1024.0);
}

void makeData(const QString& data) {
    const QString dir = data + QStringLiteral("/HB-TRD_data/engine_1");
    QDir().mkpath(dir);
    for (int n = 0; n < kTrendFiles; ++n) {
        writeRawFile(QStringLiteral("%1/ESN%2_fd_%3.raw")
                         .arg(dir, QString::number(kSerial),
                              QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'))),
                     "HB-TRD", 1, 1 + 20 * n, 1204725600 + 3600 * n);
    }
    AircraftRecord a;
    a.setIdentifier(QStringLiteral("HB-TRD"));
    EngineRecord engine;
    engine.setType(QStringLiteral("CFM56-7"));
    engine.setSer(QString::number(kSerial));
    a.setEngine(0, engine);
    TolmAircraftSettings().storeAircraft(QStringLiteral("HB-TRD"), a);
    FlightIndex(data).scan();  // the index is built before the window is measured
}

void BM_TrendWindowMemory(benchmark::State& state) {
    ZafWindow main(QStringLiteral("BRIXWindow"));
    main.resize(1024, 768);
    main.show();
    PumpEvents();
    const double baseline = residentMb();
    const double baselineHeap = heapMb();
    double added = 0.0, addedHeap = 0.0;
    int points = 0;
    for (auto _ : state) {
        TrendWindow* window = TrendWindow::Open(QStringLiteral("HB-TRD"), 1);
        window->resize(1000, 700);
        if (state.range(0) == 1) {
            window->Event(ZafEventStruct(HealthEvent::Tabulate, nullptr, window));
        }
        PumpEvents();
        state.PauseTiming();
        added = residentMb() - baseline;
        addedHeap = heapMb() - baselineHeap;
        points = int(window->Current().points().size());
        state.ResumeTiming();
        while (ZafWindow* w = zafWindowManager()->Front()) {
            zafWindowManager()->Subtract(w);
            delete w;
        }
        PumpEvents();
    }
    state.counters["flights"] = points;
    state.counters["main_MB"] = baseline;
    state.counters["trend_added_MB"] = added;
    state.counters["added_to_main"] = added / baseline;
    state.counters["heap_main_MB"] = baselineHeap;
    state.counters["heap_added_MB"] = addedHeap;
    std::printf(
        "trend window on %d flights%s: resident %.1f MB over the main window's %.1f MB, heap in "
        "use %.1f MB over %.1f MB (aim: < 50)\n",
        points, state.range(0) == 1 ? " with its tabulation" : "", added, baseline, addedHeap,
        baselineHeap);
}
// 0: the window and its chart; 1: with the tabulation of every flight too.
BENCHMARK(BM_TrendWindowMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tolm-bench-XXXXXX"));
    testenv::useHome(home.path());
    QApplication app(argc, argv);
    setSettingsIdentity();
    testenv::clearSettings();
    testenv::installToolkit(argc, argv);
    const QString data = home.path() + QStringLiteral("/data");
    SettingsStore().setValue(QStringLiteral("DataDir"), data);
    makeData(data);
    ZafStorage storage(testenv::binDir() + QStringLiteral("/QUOR.znc"));
    UserPersist reader(&storage);
    zafApplication()->SetDefaultReader(&reader);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zafApplication()->SetDefaultReader(nullptr);
    testenv::removeToolkit();
    return 0;
}
