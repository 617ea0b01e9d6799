#pragma once
// quor-raw's commands over the flight index: an engine's trend as the trend window exports it,
// and the fleet status as the status page shows it (or as JSON). Mistakes are thrown as
// UsageError; the files the index left out are told on the error output.
#include <QByteArray>

#include "viewer/cli/CliArguments.h"

namespace tolm::viewer {

class HealthCommands {
public:
    static const char* const kTrendHelp;
    static const char* const kStatusHelp;
    static inline const QStringList kTrendOptions = {"esn", "parameter", "record", "x"};
    static inline const QStringList kStatusOptions = {"parameter", "record", "flights"};
    static inline const QStringList kStatusFlags = {"json"};

    static int trend(const CliArguments& a, QByteArray& out, QByteArray& err);
    static int status(const CliArguments& a, QByteArray& out, QByteArray& err);
};

}  // namespace tolm::viewer
