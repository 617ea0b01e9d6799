#include "viewer/cli/HealthCommands.h"

#include <QFileInfo>
#include <climits>

#include "health/FleetStatus.h"
#include "health/FlightIndex.h"
#include "health/Trend.h"
#include "viewer/Parameters.h"

namespace tolm::viewer {

const char* const HealthCommands::kTrendHelp =
    "Usage: quor-raw trend DATADIR --esn N [--parameter NAME] [--record R|highest]\n"
    "         [--x flight|date]\n"
    "Prints what the trend window exports for the engine with serial number N (the ESN of its\n"
    "raw files' names): one line per flight over every raw file in DATADIR, copies once.\n"
    "  --parameter    a steady-state parameter as the parameter menu names it: A4R (default),\n"
    "                 TR4R, N1-4R, A3B_avg, ... (any case)\n"
    "  --record R     the record (bin) from 1 to 26, or highest (default): the highest of the 26\n"
    "  --x            flight (default) or date: lines in order of flight number or download\n";

const char* const HealthCommands::kStatusHelp =
    "Usage: quor-raw status DATADIR [--parameter NAME] [--record R|highest] [--flights N]\n"
    "         [--json]\n"
    "Prints the fleet status for the raw files in DATADIR: every engine of the register with\n"
    "its last download, flights on file, latest flight and that flight's alarm levels, and the\n"
    "change of the parameter over its last N flights (default 10); worst first.\n"
    "  --parameter, --record   as for the trend command\n"
    "  --json         the same as JSON\n";

namespace {

QString dataDirectory(const CliArguments& a) {
    const QString path = a.positional(1, "DATADIR");
    if (!QFileInfo(path).isDir()) {
        throw UsageError{QStringLiteral("%1 is not a directory").arg(path)};
    }
    return path;
}

int steadyParameter(const CliArguments& a) {
    const QString name = a.text(QStringLiteral("parameter")).value_or(QStringLiteral("A4R"));
    const int parameter = Parameters::fromName(name);
    if (parameter < 0 || parameter >= health::kSteadyParameters) {
        throw UsageError{QStringLiteral("\"%1\" is not a steady-state parameter").arg(name)};
    }
    return parameter;
}

int record(const CliArguments& a) {
    const std::optional<QString> text = a.text(QStringLiteral("record"));
    if (!text || text->compare(QLatin1String("highest"), Qt::CaseInsensitive) == 0) {
        return health::TrendRequest::kHighestRecord;
    }
    return *a.integer(QStringLiteral("record"), 1, health::kSteadyRecords) - 1;
}

// The index of the data directory, scanned, with the files it left out told.
void scanned(health::FlightIndex& index, QByteArray& err) {
    const health::IndexResult<QList<health::SkippedFile>> skipped = index.skippedFiles();
    if (!skipped.ok()) {
        throw UsageError{
            QStringLiteral("the flight index cannot be used: %1").arg(skipped.error())};
    }
    for (const health::SkippedFile& s : skipped.value()) {
        err += QStringLiteral("Left out: %1: %2\n").arg(s.path, s.reason).toLocal8Bit();
    }
}

}  // namespace

int HealthCommands::trend(const CliArguments& a, QByteArray& out, QByteArray& err) {
    health::TrendRequest request;
    request.serial = a.requiredInteger(QStringLiteral("esn"), 0, INT_MAX);
    request.parameter = steadyParameter(a);
    request.record = record(a);
    const QString x = a.text(QStringLiteral("x")).value_or(QStringLiteral("flight"));
    if (x.compare(QLatin1String("date"), Qt::CaseInsensitive) == 0) {
        request.x = health::TrendX::DownloadDate;
    } else if (x.compare(QLatin1String("flight"), Qt::CaseInsensitive) != 0) {
        throw UsageError{QStringLiteral("--x must be flight or date, not \"%1\"").arg(x)};
    }
    health::FlightIndex index(dataDirectory(a));
    scanned(index, err);
    const health::IndexResult<health::Trend> trend = health::Trend::fromIndex(index, request);
    if (!trend.ok()) {
        throw UsageError{QStringLiteral("the flight index cannot be used: %1").arg(trend.error())};
    }
    out += trend.value().csv();
    return 0;
}

int HealthCommands::status(const CliArguments& a, QByteArray& out, QByteArray& err) {
    health::StatusRequest request;
    request.parameter = steadyParameter(a);
    request.record = record(a);
    request.lastFlights = a.integer(QStringLiteral("flights"), 2, 100000).value_or(10);
    health::FlightIndex index(dataDirectory(a));
    scanned(index, err);
    const health::IndexResult<health::FleetStatus> status =
        health::FleetStatus::fromIndex(index, health::FleetStatus::registeredAircraft(), request);
    if (!status.ok()) {
        throw UsageError{QStringLiteral("the flight index cannot be used: %1").arg(status.error())};
    }
    out += a.flag(QStringLiteral("json")) ? status.value().json()
                                          : status.value().text().toLocal8Bit();
    return 0;
}

}  // namespace tolm::viewer
