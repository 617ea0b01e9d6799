// ReformatData on a full image (backup copy, raw file and three tables) against the limit of
// writing the same number of bytes from memory with one buffered write, in the same run, plain
// and flushed to the disk (every file of a download is). Prints the rates, their ratios and the
// peak memory of one ReformatData.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/PlatformPaths.h"
#include "download/ReformatData.h"
#include "sim/image/FlightImage.h"

// Heap in use, counted at every allocation of the process (Qt's included), for the peak of one
// ReformatData over what was in use before it. Not under AddressSanitizer, which owns malloc.
#ifdef __SANITIZE_ADDRESS__
namespace {
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};
}  // namespace
#else
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace {

std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void counted(void* p, long long sign) {
    if (p) {
        const long long now = heapInUse += sign * static_cast<long long>(malloc_usable_size(p));
        long long peak = heapPeak.load();
        while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
        }
    }
}

}  // namespace

extern "C" {
void* malloc(std::size_t n) {
    void* p = __libc_malloc(n);
    counted(p, 1);
    return p;
}
void* calloc(std::size_t n, std::size_t size) {
    void* p = __libc_calloc(n, size);
    counted(p, 1);
    return p;
}
void* realloc(void* old, std::size_t n) {
    counted(old, -1);
    void* p = __libc_realloc(old, n);
    counted(p ? p : (n ? old : nullptr), 1);
    return p;
}
void* aligned_alloc(std::size_t alignment, std::size_t n) {
    void* p = __libc_memalign(alignment, n);
    counted(p, 1);
    return p;
}
int posix_memalign(void** out, std::size_t alignment, std::size_t n) {
    *out = __libc_memalign(alignment, n);
    counted(*out, 1);
    return *out ? 0 : ENOMEM;
}
void free(void* p) {
    counted(p, -1);
    __libc_free(p);
}
}
#endif

namespace {

QString root;  // private home: the backup copy lands here too
QByteArray imageBytes;

struct Rate {
    double bytes = 0;
    double seconds = 0;
    double mbPerSecond() const { return seconds > 0 ? bytes / seconds / 1e6 : 0; }
};
Rate reformatRate;
Rate limitRate;
Rate durableLimitRate;
qint64 bytesWritten = 0;  // by one ReformatData: backup copy, raw file, three tables

using Clock = std::chrono::steady_clock;

QString imagePath() {
    return root + QStringLiteral("/QUOR-1");
}
QString dataDir() {
    return root + QStringLiteral("/data");
}

void prepare() {
    QDir(dataDir()).removeRecursively();
    QFile f(imagePath());
    f.open(QIODevice::WriteOnly);
    f.write(imageBytes);
}

bool reformat() {
    tolm::AircraftRecord aircraft;
    aircraft.setIdentifier(QStringLiteral("HB-IJK"));
    tolm::EngineRecord engine;
    engine.setType(QStringLiteral("CFM56-7"));
    engine.setSer(QStringLiteral("889123"));
    aircraft.setEngine(0, engine);
    return tolm::ReformatData(
               imagePath(), 0, aircraft, tolm::PartNumberRecord(), dataDir(), [](int, int) {},
               [] {})
        .rawWritten;
}

qint64 filedBytes() {
    qint64 total = QFileInfo(tolm::backupImagePath()).size();
    QDirIterator it(dataDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        total += QFileInfo(it.next()).size();
    }
    return total;
}

void BM_ReformatData(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        const auto start = Clock::now();
        if (!reformat()) {
            state.SkipWithError("ReformatData failed");
            break;
        }
        reformatRate.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        bytesWritten = filedBytes();
        reformatRate.bytes += double(bytesWritten);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytesWritten);
}

// One buffered write of the given bytes to a new file, made durable or not.
bool writeOnce(const QByteArray& path, const std::vector<char>& bytes, bool durable) {
    std::FILE* f = std::fopen(path.constData(), "wb");
    if (!f) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (durable) {
        ok = std::fflush(f) == 0 && fdatasync(fileno(f)) == 0 && ok;
    }
    return std::fclose(f) == 0 && ok;
}

void limit(benchmark::State& state, bool durable, Rate& rate) {
    const std::vector<char> bytes(std::size_t(bytesWritten), 'x');
    const QByteArray path = (root + QStringLiteral("/limit.bin")).toLocal8Bit();
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!writeOnce(path, bytes, durable)) {
            state.SkipWithError("write failed");
            break;
        }
        rate.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        rate.bytes += double(bytes.size());
        state.PauseTiming();
        std::remove(path.constData());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytesWritten);
}

void BM_OneBufferedWrite(benchmark::State& state) {
    limit(state, false, limitRate);
}

// The same, flushed to the disk before the file is closed, as every file of a download is.
void BM_OneBufferedWriteDurable(benchmark::State& state) {
    limit(state, true, durableLimitRate);
}

// Peak resident memory of one ReformatData, measured in a child process that does nothing else:
// its peak starts at its size when forked and grows only through the call.
void reportPeakMemory() {
    prepare();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const long long heapBefore = heapInUse.load();
        heapPeak.store(heapBefore);
        const bool ok = reformat();
        getrusage(RUSAGE_SELF, &after);
#ifdef __SANITIZE_ADDRESS__
        std::printf("peak memory of one ReformatData%s: heap not counted under AddressSanitizer; ",
                    ok ? "" : " (FAILED)");
#else
        std::printf("peak memory of one ReformatData%s: heap +%.2f MB over %.2f MB in use; ",
                    ok ? "" : " (FAILED)", (heapPeak.load() - heapBefore) / 1048576.0,
                    heapBefore / 1048576.0);
#endif
        std::printf("max RSS %.1f MB before, %.1f MB after (+%.1f MB, code pages included)\n",
                    before.ru_maxrss / 1024.0, after.ru_maxrss / 1024.0,
                    (after.ru_maxrss - before.ru_maxrss) / 1024.0);
        std::fflush(stdout);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

}  // namespace

BENCHMARK(BM_ReformatData)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OneBufferedWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OneBufferedWriteDurable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tolm-bench-XXXXXX"));
    root = home.path();
    setenv("HOME", root.toLocal8Bit().constData(), 1);  // keeps the backup copy in here
    QCoreApplication app(argc, argv);
    imageBytes = quorsim::FlightImage::generate(1, 1).responseFile();

    reportPeakMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("bytes written per download: %lld (backup copy, raw file, three tables)\n",
                static_cast<long long>(bytesWritten));
    std::printf("ReformatData: %.1f MB/s\n", reformatRate.mbPerSecond());
    std::printf("one buffered write of the same bytes: %.1f MB/s, ratio %.2f\n",
                limitRate.mbPerSecond(), limitRate.mbPerSecond() / reformatRate.mbPerSecond());
    std::printf("the same write flushed to the disk: %.1f MB/s, ratio %.2f\n",
                durableLimitRate.mbPerSecond(),
                durableLimitRate.mbPerSecond() / reformatRate.mbPerSecond());
    return 0;
}
