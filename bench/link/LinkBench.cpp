// One engine's download (about 2.9 MB) from the simulated unit on loopback: through the link
// thread into the validated response file, against the plain limit of the same bytes received
// in 64 KiB reads and written to a file. Prints both rates and their ratio at the end.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "link/SocketApi.h"
#include "link/TCPHandler.h"
#include "sim/UnitSimulator.h"
#include "sim/image/FlightImage.h"

namespace {

quorsim::UnitSimulator* sim = nullptr;

// Bytes moved and seconds spent by each side, over every run the library makes.
struct Rate {
    double bytes = 0;
    double seconds = 0;
    double mbPerSecond() const { return seconds > 0 ? bytes / seconds / 1e6 : 0; }
};
Rate linkRate;
Rate plainRate;

using Clock = std::chrono::steady_clock;

void BM_LinkThreadDownload(benchmark::State& state) {
    tolm::LinkContext link;
    tolm::WorkerThread thread;
    link.setHost(QStringLiteral("127.0.0.1"));
    link.port.store(sim->port());
    tolm::StartLinkThread(thread, link);
    if (!link.responseEvent.wait(5000) || link.statusCode.load() != tolm::STATUS_READY) {
        state.SkipWithError("the link thread did not connect");
        return;
    }
    const std::vector<quint32> payload{1, 0};
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!tolm::HandOverCommand(link, tolm::CMD_DOWNLOAD_BEARING_DATA, payload) ||
            !link.responseEvent.wait(60000) || link.statusCode.load() != tolm::STATUS_OK) {
            state.SkipWithError("the download failed");
            break;
        }
        linkRate.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        linkRate.bytes += link.responseSize.load();
    }
    state.SetBytesProcessed(state.iterations() * quorsim::FlightImage::kImageSize);
    link.stopRequest.store(true);
    link.commandEvent.set();
    thread.wait(5000);
}

bool receivePlain(int s, QFile& out) {
    static const unsigned char command[16] = {0, 0, 0, 16, 0, 0, 0, 0x60, 0, 0, 0, 1, 0, 0, 0, 0};
    if (::send(s, command, sizeof command, MSG_NOSIGNAL) != sizeof command) {
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    qint64 size = -1;
    qint64 have = 0;
    while (size < 0 || have < size) {
        const qint64 want = size < 0 ? 4 : qMin<qint64>(qint64(buffer.size()), size - have);
        const ssize_t n = ::recv(s, buffer.data(), size_t(want), 0);
        if (n <= 0) {
            return false;
        }
        if (size < 0) {
            // The size word is read by itself, as the link does, so no byte past it is taken.
            const auto* p = reinterpret_cast<const unsigned char*>(buffer.data());
            size = qint64(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        }
        out.write(buffer.data(), n);
        have += n;
    }
    return out.flush();
}

void BM_PlainReceive(benchmark::State& state) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(sim->port());
    if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    QFile out(QStringLiteral("%1/plain-download").arg(qEnvironmentVariable("HOME")));
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || !receivePlain(s, out)) {
            state.SkipWithError("the plain download failed");
            break;
        }
        out.close();
        plainRate.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        plainRate.bytes += double(out.size());
    }
    state.SetBytesProcessed(state.iterations() * quorsim::FlightImage::kImageSize);
    ::close(s);
}

BENCHMARK(BM_LinkThreadDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainReceive)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    // The response file and the communication log go to a private home.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    tolm::net::setLoopbackOnly(true);
    quorsim::UnitSimulator unit;
    if (!unit.start()) {
        std::fprintf(stderr, "link_bench: the simulator cannot listen on loopback\n");
        return 1;
    }
    unit.unit().setSeed(11);
    unit.unit().handle({tolm::CMD_DOWNLOAD_BEARING_DATA, {1, 0}});  // the image, made once
    sim = &unit;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("link thread to validated response file: %.1f MB/s\n", linkRate.mbPerSecond());
    std::printf("plain 64 KiB reads to a file:          %.1f MB/s\n", plainRate.mbPerSecond());
    if (plainRate.mbPerSecond() > 0) {
        std::printf("ratio (link / plain):                  %.2f\n",
                    linkRate.mbPerSecond() / plainRate.mbPerSecond());
    }
    return 0;
}
