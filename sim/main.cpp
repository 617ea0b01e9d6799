// quor-sim: a simulated QUOR unit on 127.0.0.1, for running the ground station without one.
//   quor-sim [--port N] [--mode compatible|main-upload|incompatible] [--seed N]
//            [--erase-ms N] [--segment BYTES] [--refuse N] [--upload-dir DIR] [--reboot on|off]
//            [--fault KIND[:COMMAND[:VALUE[:AFTER]]]]... [--replay FILE]
//   quor-sim --help
// Fault kinds: ack, invalid-block-type, byte-count, truncated, size-word, close-mid,
// close-after, no-answer, slow. COMMAND is a command code (0x60) or 0 for any; AFTER is how many
// such commands are answered normally first. --upload-dir keeps every upload as a text file of
// words; --reboot (on at first) makes the unit reinitialise after an upload, dropping the
// connection. --replay plays a link trace back (see --help). Stops on Ctrl-C.
//   Refuse the second DSP software packet:      --fault ack:0xF2:5:1
//   Drop the connection after the first packet: --fault close-after:0xF2:0:0
//   An erase of the bearing data never answered: --fault no-answer:0x65
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>

#include <QCoreApplication>
#include <QStringList>

#include "link/CommandTable.h"
#include "sim/UnitSimulator.h"

using quorsim::Fault;
using quorsim::FaultKind;

namespace {

const char* const kUsage =
    "usage: quor-sim [--port N] [--address 127.0.0.1] "
    "[--mode compatible|main-upload|incompatible] [--seed N] [--erase-ms N] "
    "[--segment BYTES] [--refuse N] [--upload-dir DIR] [--reboot on|off] "
    "[--fault KIND[:COMMAND[:VALUE[:AFTER]]]]... [--replay FILE]\n"
    "       quor-sim --help\n";

const char* const kHelp =
    "A simulated QUOR unit on 127.0.0.1, for running TOLM without one.\n"
    "\n"
    "  --port N          the port to listen on (4242)\n"
    "  --address A       127.0.0.1 or localhost; the simulator serves on loopback only\n"
    "  --mode M          the part numbers: compatible (default), main-upload, incompatible\n"
    "  --seed N          the seed of the generated bearing data\n"
    "  --erase-ms N      how long each erase takes\n"
    "  --segment BYTES   sends every answer in pieces of this size\n"
    "  --refuse N        resets the next N connections as they come\n"
    "  --upload-dir DIR  keeps every upload as a text file of words in DIR\n"
    "  --reboot on|off   reinitialises after an upload, dropping the connection (on)\n"
    "  --fault KIND[:COMMAND[:VALUE[:AFTER]]]\n"
    "                    a fault: ack, invalid-block-type, byte-count, truncated, size-word,\n"
    "                    close-mid, close-after, no-answer, slow. COMMAND is a command code\n"
    "                    (0x60) or 0 for any; AFTER is how many such commands are answered\n"
    "                    normally first. Examples: --fault ack:0xF2:5:1, --fault no-answer:0x65\n"
    "  --replay FILE     plays back a link trace that TOLM recorded (\"tolmLink.trace\", made\n"
    "                    with tolm -t or the setting LinkTrace): each command received, on\n"
    "                    whichever connection, is answered with the trace's next recorded\n"
    "                    answer, byte for byte and with the recorded delays; where the trace\n"
    "                    shows a time-out the simulator falls silent, where it shows the unit\n"
    "                    closing or the connection breaking it does the same, and where TOLM\n"
    "                    gave up an answer it drops the connection at that moment. Once the\n"
    "                    trace is used up, a command finds its connection closed. The other\n"
    "                    options but --port and --segment have no effect then.\n"
    "  --help            this text\n"
    "\n"
    "Every command received is printed. Stops on Ctrl-C.\n";

int usage(const char* problem) {
    std::fprintf(stderr, "quor-sim: %s\n%s", problem, kUsage);
    return 2;
}

// Reads a trace to replay and says what it found.
bool loadReplay(const QString& path, quorsim::UnitSimulator& sim) {
    QString error;
    std::optional<quorsim::TraceScript> script = quorsim::TraceScript::load(path, &error);
    if (!script) {
        std::fprintf(stderr, "quor-sim: cannot read %s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    for (const quorsim::TraceScript::Problem& p : script->problems()) {
        std::fprintf(stderr, "quor-sim: %s:%d: %s; line passed over\n", qPrintable(path), p.line,
                     qPrintable(p.what));
    }
    if (script->problemCount() > int(script->problems().size())) {
        std::fprintf(stderr, "quor-sim: %s: %d more lines passed over\n", qPrintable(path),
                     script->problemCount() - int(script->problems().size()));
    }
    std::printf("quor-sim: replaying %zu answers from %s\n", script->answers().size(),
                qPrintable(path));
    sim.setReplay(std::move(script));
    return true;
}

bool parseFault(const QString& text, Fault& fault) {
    static const std::map<QString, FaultKind> kinds{
        {QStringLiteral("ack"), FaultKind::Ack},
        {QStringLiteral("invalid-block-type"), FaultKind::InvalidBlockType},
        {QStringLiteral("byte-count"), FaultKind::ByteCountOverLimit},
        {QStringLiteral("truncated"), FaultKind::Truncated},
        {QStringLiteral("size-word"), FaultKind::SizeWord},
        {QStringLiteral("close-mid"), FaultKind::CloseMidResponse},
        {QStringLiteral("no-answer"), FaultKind::NoAnswer},
        {QStringLiteral("slow"), FaultKind::SlowAnswer},
        {QStringLiteral("close-after"), FaultKind::CloseAfterAnswer},
    };
    const QStringList parts = text.split(QLatin1Char(':'));
    const auto kind = kinds.find(parts[0]);
    if (kind == kinds.end()) {
        return false;
    }
    bool ok = true;
    fault = Fault{kind->second, parts.size() > 1 ? parts[1].toUInt(&ok, 0) : 0, 0, -1};
    if (ok && parts.size() > 2) {
        fault.value = parts[2].toUInt(&ok, 0);
    }
    if (ok && parts.size() > 3) {
        fault.after = parts[3].toInt(&ok, 0);
        fault.times = 1;  // a fault placed at one command happens once
    }
    return ok && fault.after >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    quorsim::UnitSimulator sim;
    quorsim::SimulatedUnit& unit = sim.unit();
    unit.setRebootAfterUpload(true);
    int port = 4242;
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help"))) {
        std::printf("%s\n%s", kUsage, kHelp);
        return 0;
    }
    // Every option takes one value.
    for (int i = 0; i < args.size(); i += 2) {
        const QString& a = args[i];
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        bool ok = true;
        if (a == QLatin1String("--port")) {
            port = value.toInt(&ok);
        } else if (a == QLatin1String("--address")) {
            if (value != QLatin1String("127.0.0.1") && value != QLatin1String("localhost")) {
                return usage("the simulator serves on 127.0.0.1 only");
            }
        } else if (a == QLatin1String("--mode")) {
            if (value == QLatin1String("compatible")) {
                unit.setPartNumbers(quorsim::PartNumbers::compatible());
            } else if (value == QLatin1String("main-upload")) {
                unit.setPartNumbers(quorsim::PartNumbers::mainUploadMode());
            } else if (value == QLatin1String("incompatible")) {
                unit.setPartNumbers(quorsim::PartNumbers::incompatible());
            } else {
                return usage("unknown mode");
            }
        } else if (a == QLatin1String("--seed")) {
            unit.setSeed(value.toUInt(&ok, 0));
        } else if (a == QLatin1String("--erase-ms")) {
            for (quint32 code :
                 {tolm::CMD_ERASE_BEARING_DATA, tolm::CMD_ERASE_BEARING_DEFECT_HISTORY,
                  tolm::CMD_ERASE_ACCEL_DEFECT_HISTORY}) {
                unit.setEraseDurationMs(code, value.toInt(&ok));
            }
        } else if (a == QLatin1String("--segment")) {
            sim.setSegments(value.toInt(&ok));
        } else if (a == QLatin1String("--refuse")) {
            sim.refuseConnections(value.toInt(&ok));
        } else if (a == QLatin1String("--upload-dir")) {
            unit.setUploadDirectory(value);
        } else if (a == QLatin1String("--reboot")) {
            ok = value == QLatin1String("on") || value == QLatin1String("off");
            unit.setRebootAfterUpload(value == QLatin1String("on"));
        } else if (a == QLatin1String("--replay")) {
            if (!value.isEmpty() && !loadReplay(value, sim)) {
                return 1;
            }
        } else if (a == QLatin1String("--fault")) {
            Fault fault{};
            ok = parseFault(value, fault);
            unit.addFault(fault);
        } else {
            return usage("unknown option");
        }
        if (!ok || value.isEmpty()) {
            return usage("bad or missing value");
        }
    }

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);  // the serving threads inherit the mask

    sim.setCommandEcho([](const QString& line) {
        std::printf("quor-sim: %s\n", qPrintable(line));
        std::fflush(stdout);
    });
    if (port < 0 || port > 65535 || !sim.start(quint16(port))) {
        std::fprintf(stderr, "quor-sim: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("quor-sim: listening on 127.0.0.1:%u\n", unsigned(sim.port()));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.stop();
    return 0;
}
