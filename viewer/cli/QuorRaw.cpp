#include "viewer/cli/QuorRaw.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <climits>
#include <optional>

#include "viewer/DataDirectoryScan.h"
#include "viewer/FlightSelection.h"
#include "viewer/PlotModel.h"
#include "viewer/Tabulation.h"
#include "viewer/WaterfallExport.h"
#include "viewer/cli/CliArguments.h"
#include "viewer/cli/HealthCommands.h"

namespace tolm::viewer {

namespace {

const char* const kUsage =
    "Usage: quor-raw COMMAND ARGUMENTS\n"
    "Lists and exports the flight data of TOLM's raw flight-data files.\n"
    "\n"
    "Commands:\n"
    "  aircraft   the aircraft that have flights in a data directory\n"
    "  flights    the flights of one aircraft, engine and memory\n"
    "  tabulate   the tabulation of one flight's plot, as the plot window saves it\n"
    "  csv        the comma-separated export of one flight's Waterfall FFT\n"
    "  trend      one engine's trend of a steady-state parameter over every flight on file\n"
    "  status     the fleet status: every engine of the register, worst first\n"
    "\n"
    "quor-raw COMMAND --help describes a command. Exit status 2: bad arguments or unreadable "
    "files.\n";

const QMap<QString, const char*> kCommandHelp = {
    {QStringLiteral("aircraft"),
     "Usage: quor-raw aircraft DATADIR\n"
     "Prints the aircraft that the flight selection offers for DATADIR, one a line, in its "
     "order.\n"},
    {QStringLiteral("flights"),
     "Usage: quor-raw flights DATADIR --aircraft ID --engine N --memory M\n"
     "Prints the flights that the flight selection lists for aircraft ID, engine N (1 or 2) and\n"
     "memory M (0 pre-defect, 1 post-defect), one a line, exactly as it lists them.\n"},
    {QStringLiteral("tabulate"),
     "Usage: quor-raw tabulate RAW --flight N [--memory M] --parameter NAME\n"
     "         [--mode steady|transient] [--bin B] [--record R]\n"
     "         [--window none|Hanning|Hamming] [--xmin X] [--xmax X]\n"
     "Prints what the tabulation window saves for the plot of flight N of the raw file RAW.\n"
     "  --memory M     0 or 1; needed when the flight is in both memories\n"
     "  --parameter    the name as the parameter menu shows it: A4R, TR4R, A3B_avg,\n"
     "                 Time History, FFT, ... (any case)\n"
     "  --mode         steady (default) or transient\n"
     "  --bin B        transient bin 0 (Top Of Climb) to 3 (All Other Accels); default 0\n"
     "  --record R     record of Time History and FFT, from 1 as the sample list shows it\n"
     "  --window       FFT window (any case); default none\n"
     "  --xmin, --xmax the shown x range, as after a zoom; default everything\n"},
    {QStringLiteral("csv"),
     "Usage: quor-raw csv RAW --flight N [--memory M] [--mode steady|transient] [--bin B]\n"
     "         [--window none|Hanning|Hamming] [--xmin X] [--xmax X]\n"
     "Prints the comma-separated export of the Waterfall FFT of flight N of the raw file RAW,\n"
     "with the options of the tabulate command.\n"},
    {QStringLiteral("trend"), HealthCommands::kTrendHelp},
    {QStringLiteral("status"), HealthCommands::kStatusHelp},
};

QString existingDirectory(const QString& path) {
    if (!QFileInfo(path).isDir()) {
        throw UsageError{QStringLiteral("%1 is not a directory").arg(path)};
    }
    return path;
}

void reportScan(const ScanResult& scan, QByteArray& err) {
    for (const ReadError& e : scan.errors) {
        err += (e.title() + QLatin1String(": ") + e.text()).toLocal8Bit() + '\n';
    }
    if (scan.showIncompatibleWarning()) {
        err += ScanResult::kIncompatibleText.toLocal8Bit() + '\n';
    }
}

int listAircraft(const CliArguments& a, QByteArray& out, QByteArray& err) {
    const ScanResult scan = DataDirectoryScan::scan(existingDirectory(a.positional(1, "DATADIR")));
    reportScan(scan, err);
    const FlightSelection selection(scan.flights, QString(), 0);
    for (const QString& aircraft : selection.aircraft()) {
        out += aircraft.toLocal8Bit() + '\n';
    }
    return 0;
}

int listFlights(const CliArguments& a, QByteArray& out, QByteArray& err) {
    const QString dir = existingDirectory(a.positional(1, "DATADIR"));
    const QString aircraft = a.required(QStringLiteral("aircraft"));
    const int engine = a.requiredInteger(QStringLiteral("engine"), 1, 2);
    const int memory = a.requiredInteger(QStringLiteral("memory"), 0, 1);
    const ScanResult scan = DataDirectoryScan::scan(dir);
    reportScan(scan, err);
    FlightSelection selection(scan.flights, aircraft, memory);
    if (selection.currentAircraft() != aircraft) {
        throw UsageError{QStringLiteral("%1 holds no flights of aircraft %2").arg(dir, aircraft)};
    }
    selection.setEngine(engine);
    for (const FlightItem& item : selection.items()) {
        out += item.text.toLocal8Bit() + '\n';
    }
    return 0;
}

// The one flight the options name in the raw file, read.
FlightDataElement chosenFlight(const CliArguments& a) {
    const QString path = a.positional(1, "RAW");
    const QFileInfo file(path);
    if (!file.isFile()) {
        throw UsageError{QStringLiteral("%1 is not a file").arg(path)};
    }
    const int number = a.requiredInteger(QStringLiteral("flight"), INT_MIN, INT_MAX);
    const std::optional<int> memory = a.integer(QStringLiteral("memory"), 0, 1);

    const FlightInfo info = RawFlightReader::ExtractFlightInfo(file);
    if (!info.currentFormat) {
        throw UsageError{
            QStringLiteral("%1 is not a raw flight-data file of this version of TOLM").arg(path)};
    }
    QList<FlightListElement> matches;
    for (const FlightListElement& f : info.flights) {
        if (f.flightNumber == number && (!memory || f.memoryType == *memory)) {
            matches.append(f);
        }
    }
    if (matches.isEmpty()) {
        throw UsageError{info.error ? info.error->text()
                                    : QStringLiteral("%1 holds no flight %2%3")
                                          .arg(path, QString::number(number),
                                               memory ? QStringLiteral(" in memory %1").arg(*memory)
                                                      : QString())};
    }
    for (const FlightListElement& f : matches) {
        if (f.memoryType != matches.first().memoryType) {
            throw UsageError{
                QStringLiteral("flight %1 is in both memories; choose one with --memory")
                    .arg(number)};
        }
    }
    Outcome<FlightDataElement> read = RawFlightReader::ExtractFlightData(matches.first());
    if (!read.ok()) {
        throw UsageError{read.error().text()};
    }
    return std::move(read).value();
}

PlotChoices plotChoices(const CliArguments& a, const FlightDataElement& flight) {
    PlotChoices c;
    const QString mode = a.text(QStringLiteral("mode")).value_or(QStringLiteral("steady"));
    if (mode.compare(QLatin1String("steady"), Qt::CaseInsensitive) == 0) {
        c.plotType = PlotType::SteadyState;
    } else if (mode.compare(QLatin1String("transient"), Qt::CaseInsensitive) == 0) {
        c.plotType = PlotType::Transient;
    } else {
        throw UsageError{
            QStringLiteral("--mode must be steady or transient, not \"%1\"").arg(mode)};
    }
    c.bin = a.integer(QStringLiteral("bin"), 0, kTransientBins - 1).value_or(0);
    const int records = c.plotType == PlotType::SteadyState ? kSteadyRecords : kTransientRecords;
    c.lastSample = a.integer(QStringLiteral("record"), 1, records).value_or(0) - 1;
    const QString window = a.text(QStringLiteral("window")).value_or(QStringLiteral("none"));
    const int w = FftWindows::fromName(window);
    if (w < 0) {
        throw UsageError{
            QStringLiteral("--window must be none, Hanning or Hamming, not \"%1\"").arg(window)};
    }
    c.window = FftWindow(w);
    c.lastFlight = flight.flightNumber();
    c.memoryType = flight.memoryType();
    return c;
}

XRange xRange(const CliArguments& a) {
    XRange r;
    r.min = a.real(QStringLiteral("xmin")).value_or(r.min);
    r.max = a.real(QStringLiteral("xmax")).value_or(r.max);
    return r;
}

int tabulate(const CliArguments& a, QByteArray& out) {
    const QString name = a.required(QStringLiteral("parameter"));
    const int parameter = Parameters::fromName(name);
    if (parameter < 0) {
        throw UsageError{QStringLiteral("unknown parameter \"%1\"").arg(name)};
    }
    if (parameter == kWaterfallFft) {
        throw UsageError{QStringLiteral("Waterfall FFT is exported by the csv command")};
    }
    const FlightDataElement flight = chosenFlight(a);
    PlotChoices choices = plotChoices(a, flight);
    if (choices.plotType == PlotType::Transient && Parameters::hasNoTransientData(parameter)) {
        throw UsageError{
            QStringLiteral("%1 has no transient data").arg(Parameters::name(parameter))};
    }
    choices.parameter = parameter;
    const PlotModel model({flight}, choices);
    out += Tabulation::of(model.chart(), model.currentSet(), xRange(a)).fileText();
    return 0;
}

int exportCsv(const CliArguments& a, QByteArray& out) {
    const FlightDataElement flight = chosenFlight(a);
    PlotChoices choices = plotChoices(a, flight);
    choices.parameter = kWaterfallFft;
    const PlotModel model({flight}, choices);
    out += WaterfallExport::csv(model.chart(), xRange(a));
    return 0;
}

}  // namespace

int QuorRaw::run(const QStringList& arguments, QByteArray& out, QByteArray& err) {
    if (arguments.isEmpty()) {
        err += kUsage;
        return kUsageError;
    }
    const QString command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out += kUsage;
        return 0;
    }
    if (!kCommandHelp.contains(command)) {
        err += "quor-raw: unknown command \"" + command.toLocal8Bit() + "\"\n" + kUsage;
        return kUsageError;
    }
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        out += kCommandHelp.value(command);
        return 0;
    }
    try {
        if (command == QLatin1String("aircraft")) {
            return listAircraft(CliArguments(rest, {}), out, err);
        }
        if (command == QLatin1String("flights")) {
            return listFlights(CliArguments(rest, {"aircraft", "engine", "memory"}), out, err);
        }
        const QStringList common = {"flight", "memory", "mode", "bin", "window", "xmin", "xmax"};
        if (command == QLatin1String("tabulate")) {
            return tabulate(CliArguments(rest, common + QStringList{"parameter", "record"}), out);
        }
        if (command == QLatin1String("csv")) {
            return exportCsv(CliArguments(rest, common), out);
        }
        if (command == QLatin1String("trend")) {
            return HealthCommands::trend(CliArguments(rest, HealthCommands::kTrendOptions), out,
                                         err);
        }
        return HealthCommands::status(
            CliArguments(rest, HealthCommands::kStatusOptions, HealthCommands::kStatusFlags), out,
            err);
    } catch (const UsageError& e) {
        out.clear();
        err += "quor-raw " + command.toLocal8Bit() + ": " + e.message.toLocal8Bit() + '\n';
        err += "Try: quor-raw " + command.toLocal8Bit() + " --help\n";
        return kUsageError;
    }
}

}  // namespace tolm::viewer
