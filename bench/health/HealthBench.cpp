// The flight index's speed: indexing 1,000 raw files from nothing against the limit of reading
// just the bytes the index keeps from them with plain system calls (header, then each used
// block's steady-state values), in the same run; an update after one download; the trend of
// 10,000 flights of one engine, ready for a chart; the fleet status of 100 aircraft. Prints the
// ratio and the times against their goals. The raw files are sparse: only the bytes the index
// reads are written.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/health/SparseRawFile.h"
#include "core/ByteOrder.h"
#include "formats/RawFlightFileLayout.h"
#include "health/FleetStatus.h"
#include "health/FlightIndex.h"
#include "health/RawFileIndexReader.h"
#include "health/Trend.h"

using namespace tolm;
using namespace tolm::health;

namespace {

constexpr int kFleetAircraft = 100, kFilesPerEngine = 5;  // 100 x 2 x 5 = 1,000 files
constexpr int kTrendFiles = 500;                          // 500 x 20 = 10,000 flights
constexpr qint32 kTrendSerial = 777777;
QString root;

QString engineDirectory(const QString& data, const QString& aircraft, int engine) {
    const QString dir =
        QStringLiteral("%1/%2_data/engine_%3").arg(data, aircraft, QString::number(engine));
    QDir().mkpath(dir);
    return dir;
}

QString fleetData() {
    return root + QStringLiteral("/fleet");
}
QString trendData() {
    return root + QStringLiteral("/trend");
}
QString aircraftName(int a) {
    return QStringLiteral("AC-%1").arg(a, 3, 10, QLatin1Char('0'));
}
qint32 serialOf(int a, int engine) {
    return 100000 + a * 2 + engine;
}

void makeDataDirectories() {
    for (int a = 0; a < kFleetAircraft; ++a) {
        for (int engine = 1; engine <= 2; ++engine) {
            const QString dir = engineDirectory(fleetData(), aircraftName(a), engine);
            for (int n = 0; n < kFilesPerEngine; ++n) {
                writeRawFile(
                    QStringLiteral("%1/ESN%2_fd_2008030%3_1407.raw")
                        .arg(dir, QString::number(serialOf(a, engine)), QString::number(n + 1)),
                    aircraftName(a).toLatin1().constData(), engine, 1000 + 20 * n,
                    1204725600 + 86400 * n);
            }
        }
    }
    const QString dir = engineDirectory(trendData(), QStringLiteral("HB-TRD"), 1);
    for (int n = 0; n < kTrendFiles; ++n) {
        writeRawFile(QStringLiteral("%1/ESN%2_fd_%3.raw")
                         .arg(dir, QString::number(kTrendSerial),
                              QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'))),
                     "HB-TRD", 1, 1 + 20 * n, 1204725600 + 3600 * n);
    }
}

void removeDatabase(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        QFile::remove(path + QLatin1String(suffix));
    }
}

void BM_IndexFromNothing(benchmark::State& state) {
    const QString db = root + QStringLiteral("/cache/fleet.sqlite");
    for (auto _ : state) {
        state.PauseTiming();
        removeDatabase(db);
        state.ResumeTiming();
        FlightIndex index(fleetData(), db);
        const IndexResult<ScanReport> report = index.scan();
        if (!report.ok() || report.value().filesRead != 1000) {
            state.SkipWithError("not every file indexed");
            break;
        }
    }
}

// The index's reader alone, over the same files: what the database adds is the rest.
void BM_ReaderAlone(benchmark::State& state) {
    QStringList paths;
    for (const QString& d : QDir(fleetData()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const char* engine : {"/engine_1", "/engine_2"}) {
            const QString dir = fleetData() + QLatin1Char('/') + d + QLatin1String(engine);
            for (const QString& f : QDir(dir).entryList(QDir::Files)) {
                paths.append(dir + QLatin1Char('/') + f);
            }
        }
    }
    for (auto _ : state) {
        int blocks = 0;
        for (const QString& path : paths) {
            blocks += int(RawFileIndexReader::read(path).file->blocks.size());
        }
        benchmark::DoNotOptimize(blocks);
    }
}

// The limit: the directories walked, then each file opened, its status taken, its header and
// the steady-state values of each used block read, closed.
void BM_LimitReadIndexedBytes(benchmark::State& state) {
    const auto list = [](const std::string& dir, std::vector<std::string>& names) {
        if (DIR* d = ::opendir(dir.c_str())) {
            while (dirent* e = ::readdir(d)) {
                if (e->d_name[0] != '.') {
                    names.push_back(dir + '/' + e->d_name);
                }
            }
            ::closedir(d);
        }
    };
    std::vector<char> values(kSteadyBytes);
    for (auto _ : state) {
        std::vector<std::string> dataDirs, files;
        list(fleetData().toStdString(), dataDirs);
        for (const std::string& d : dataDirs) {
            for (const char* engine : {"/engine_1", "/engine_2"}) {
                list(d + engine, files);
            }
        }
        long long sum = 0;
        for (const std::string& path : files) {
            unsigned char header[raw::kHeaderSize];
            const int fd = ::open(path.c_str(), O_RDONLY);
            struct stat st {};
            if (fd < 0 || ::fstat(fd, &st) != 0 || ::pread(fd, header, sizeof header, 0) <= 0) {
                state.SkipWithError("cannot read");
                return;
            }
            for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
                if (loadLeI32(header + raw::kFlightNumbersOffset + 4 * slot) != 0) {
                    sum += ::pread(fd, values.data(), values.size(),
                                   raw::kHeaderSize + off_t(slot) * raw::kDataBlockSize);
                }
            }
            ::close(fd);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_UpdateAfterOneDownload(benchmark::State& state) {
    const QString db = root + QStringLiteral("/cache/fleet.sqlite");
    FlightIndex index(fleetData(), db);
    index.scan();
    const QString dir = engineDirectory(fleetData(), aircraftName(0), 1);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = QStringLiteral("%1/ESN%2_fd_20090101_0000_%3.raw")
                                 .arg(dir, QString::number(serialOf(0, 1)), QString::number(++n));
        writeRawFile(path, "AC-000", 1, 2000 + 20 * n, 1230768000 + n);
        state.ResumeTiming();
        const IndexResult<DownloadTally> tally = index.update({path});
        if (!tally.ok() || tally.value().newFlights != 20) {
            state.SkipWithError("the download's flights are not new");
            break;
        }
    }
}

void BM_Trend10000Flights(benchmark::State& state) {
    FlightIndex index(trendData(), root + QStringLiteral("/cache/trend.sqlite"));
    index.scan();
    TrendRequest request;
    request.serial = kTrendSerial;
    for (auto _ : state) {
        const Trend trend = Trend::fromIndex(index, request).value();
        const TrendSeries normal = trend.normal(), alarmed = trend.alarmed();
        if (normal.x.size() + alarmed.x.size() != 10000) {
            state.SkipWithError("not 10,000 points");
            break;
        }
        benchmark::DoNotOptimize(normal.y.data());
    }
}

void BM_FleetStatus100Aircraft(benchmark::State& state) {
    FlightIndex index(fleetData(), root + QStringLiteral("/cache/fleet.sqlite"));
    index.scan();
    QList<AircraftRecord> fleet;
    for (int a = 0; a < kFleetAircraft; ++a) {
        AircraftRecord record;
        record.setIdentifier(aircraftName(a));
        for (int e = 0; e < 2; ++e) {
            EngineRecord engine;
            engine.setSer(QString::number(serialOf(a, e + 1)));
            record.setEngine(e, engine);
        }
        fleet.append(record);
    }
    for (auto _ : state) {
        const FleetStatus status = FleetStatus::fromIndex(index, fleet, StatusRequest{}).value();
        if (status.engines().size() != 200 || status.engines().first().flightsOnFile < 100) {
            state.SkipWithError("not the whole fleet");
            break;
        }
        benchmark::DoNotOptimize(status.text());
    }
}

// Keeps the real and CPU time per iteration of every benchmark for the figures printed at the
// end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0.0, cpu = 0.0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
                times[run.run_name.function_name] =
                    Times{run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

}  // namespace

BENCHMARK(BM_IndexFromNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LimitReadIndexedBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateAfterOneDownload)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Trend10000Flights)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FleetStatus100Aircraft)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tolm-health-bench-XXXXXX"));
    root = dir.path();
    makeDataDirectories();

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto times = [&](const char* name) { return reporter.times[name]; };
    const RecordingReporter::Times index = times("BM_IndexFromNothing"),
                                   limit = times("BM_LimitReadIndexedBytes");
    if (limit.real > 0 && limit.cpu > 0) {
        std::printf(
            "index of 1,000 raw files / reading the bytes it keeps: %.2f (real time), "
            "%.2f (CPU time); goal 2\n",
            index.real / limit.real, index.cpu / limit.cpu);
    }
    const auto against = [&](const char* what, const char* name, double goal) {
        std::printf("%s: %.2f ms (real time); goal under %.0f ms\n", what, times(name).real * 1e3,
                    goal);
    };
    against("update after one download", "BM_UpdateAfterOneDownload", 50);
    against("trend of 10,000 flights", "BM_Trend10000Flights", 20);
    against("fleet status of 100 aircraft", "BM_FleetStatus100Aircraft", 50);
    return 0;
}
