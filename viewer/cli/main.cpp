// quor-raw: the viewer's listings and exports on the command line.
#include <QCoreApplication>
#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "core/Config.h"
#include "viewer/cli/QuorRaw.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // TOLM's settings store (the register) and cache location (the flight index).
    tolm::setSettingsIdentity();
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    QByteArray out, err;
    const int status = tolm::viewer::QuorRaw::run(app.arguments().mid(1), out, err);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, std::size_t(err.size()), stderr);
    if (std::fflush(stdout) != 0) {
        return 1;
    }
    return status;
}
