// The viewer core's speed: the scan of a data directory of 200 raw files against the limit of
// reading only their headers and sizes with plain system calls, in the same run; and one
// 1024-sample spectrum against FFTW's real transform of the same input. Prints the ratios.
#include <dirent.h>
#include <fcntl.h>
#include <fftw3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/ByteOrder.h"
#include "formats/RawFlightFileLayout.h"
#include "viewer/DataDirectoryScan.h"
#include "viewer/Spectrum.h"

using namespace tolm;
using namespace tolm::viewer;

namespace {

constexpr int kAircraft = 5, kFilesPerEngine = 20;  // 5 x 2 x 20 = 200 files
QString root;
std::vector<std::string> rawPaths;

// 200 complete raw files of 20 flights each; the blocks are sparse, since only headers and sizes
// are read.
void makeDataDirectory() {
    for (int a = 0; a < kAircraft; ++a) {
        for (int engine = 1; engine <= 2; ++engine) {
            const QString dir = QStringLiteral("%1/AC-%2_data/engine_%3")
                                    .arg(root, QString::number(a), QString::number(engine));
            QDir().mkpath(dir);
            for (int n = 0; n < kFilesPerEngine; ++n) {
                QByteArray header(raw::kHeaderSize, '\0');
                storeLe32(header.data() + raw::kMagicOffset, raw::kMagic);
                std::memcpy(header.data() + raw::kIdentifierOffset, "AC-0", 4);
                storeLeI32(header.data() + raw::kEngineNumberOffset, engine);
                for (int slot = 0; slot < raw::kDataBlocks; ++slot) {
                    storeLeI32(header.data() + raw::kFlightNumbersOffset + 4 * slot,
                               n * 20 + slot + 1);
                }
                const QString path =
                    QStringLiteral("%1/ESN%2_fd.raw")
                        .arg(dir, QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')));
                QFile f(path);
                f.open(QIODevice::WriteOnly);
                f.write(header);
                f.resize(raw::kFileSize);
                rawPaths.push_back(path.toStdString());
            }
        }
    }
}

void BM_ScanDataDirectory(benchmark::State& state) {
    for (auto _ : state) {
        const ScanResult result = DataDirectoryScan::scan(root);
        if (result.flights.size() != 200 * 20) {
            state.SkipWithError("wrong flight count");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
}

// The limit: each known file opened, its header read, its size taken, closed.
long long readHeaderAndSize(const std::string& path) {
    char header[raw::kHeaderSize];
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    const bool ok = ::read(fd, header, sizeof header) == sizeof header && ::fstat(fd, &st) == 0;
    ::close(fd);
    return ok ? st.st_size + header[0] : -1;
}

void BM_LimitHeadersAndSizes(benchmark::State& state) {
    for (auto _ : state) {
        long long sum = 0;
        for (const std::string& path : rawPaths) {
            sum += readHeaderAndSize(path);
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The same with the directories listed first, as any scan must.
void BM_LimitWithDirectoryWalk(benchmark::State& state) {
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
    for (auto _ : state) {
        std::vector<std::string> dataDirs, files;
        list(root.toStdString(), dataDirs);
        for (const std::string& d : dataDirs) {
            for (const char* engine : {"/engine_1", "/engine_2"}) {
                list(d + engine, files);
            }
        }
        long long sum = 0;
        for (const std::string& path : files) {
            sum += readHeaderAndSize(path);
        }
        benchmark::DoNotOptimize(sum);
    }
}

RecordSamples testRecord() {
    RecordSamples s;
    for (int i = 0; i < kSamplesPerRecord; ++i) {
        s[i] = qint16(900 * std::sin(i * 0.37) + 300 * std::cos(i * 1.9) + (i * 7919) % 61);
    }
    return s;
}

void BM_Spectrum(benchmark::State& state) {
    const RecordSamples s = testRecord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            Spectrum::ofRecord(s, FftWindow::Hanning, Spectrum::RecordKind::SteadyState));
    }
}

void BM_RealFftAlone(benchmark::State& state) {
    const RecordSamples s = testRecord();
    std::vector<float> x(kSamplesPerRecord);
    std::vector<Complex> y(Spectrum::kBins);
    for (auto _ : state) {
        std::copy(s.begin(), s.end(), x.begin());
        Spectrum::realFft(x, y, 10);
        benchmark::DoNotOptimize(y.data());
    }
}

void BM_FftwReal(benchmark::State& state) {
    const RecordSamples s = testRecord();
    float* in = fftwf_alloc_real(kSamplesPerRecord);
    fftwf_complex* out = fftwf_alloc_complex(kSamplesPerRecord / 2 + 1);
    const fftwf_plan plan = fftwf_plan_dft_r2c_1d(kSamplesPerRecord, in, out, FFTW_MEASURE);
    for (auto _ : state) {
        std::copy(s.begin(), s.end(), in);
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
}

// Keeps the real and CPU time per iteration of every benchmark (the median when repeated) for
// the ratios printed at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0.0, cpu = 0.0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
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

BENCHMARK(BM_ScanDataDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LimitHeadersAndSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LimitWithDirectoryWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spectrum)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RealFftAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FftwReal)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tolm-viewer-bench-XXXXXX"));
    root = dir.path();
    makeDataDirectory();

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ratio = [&](const char* what, const char* a, const char* b) {
        const RecordingReporter::Times x = reporter.times[a], y = reporter.times[b];
        if (y.real > 0 && y.cpu > 0) {
            std::printf("%s: %.2f (real time), %.2f (CPU time)\n", what, x.real / y.real,
                        x.cpu / y.cpu);
        }
    };
    ratio("scan of 200 raw files / their headers and sizes alone", "BM_ScanDataDirectory",
          "BM_LimitHeadersAndSizes");
    ratio("scan of 200 raw files / the same with the directory walk", "BM_ScanDataDirectory",
          "BM_LimitWithDirectoryWalk");
    ratio("one spectrum (window, transform, magnitude, compensation) / FFTW r2c", "BM_Spectrum",
          "BM_FftwReal");
    ratio("the real transform alone / FFTW r2c", "BM_RealFftAlone", "BM_FftwReal");
    return 0;
}
