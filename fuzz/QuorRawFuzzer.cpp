// Any command line for quor-raw (the input split at NUL bytes into words, each UTF-8), against a
// data directory of raw files written by the download's own writer: a whole file of each engine,
// one cut short inside its sixth block and one of an earlier format. In a word, "@D" stands for
// that directory and "@1", "@2", "@C", "@O" for the four files. quor-raw ends with 0 or with its
// usage error and nothing on its standard output, says why on its error output, and writes no
// file.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "download/FlightDataImage.h"
#include "download/RawFlightFile.h"
#include "fuzz/FuzzSupport.h"
#include "sim/image/FlightImage.h"
#include "viewer/cli/QuorRaw.h"

using fuzz::check;

namespace {

QString directory;
QStringList files;  // "@1", "@2", "@C", "@O"
QStringList fixture;

QString writeRaw(const QString& aircraft, int engineIndex, const QString& name) {
    tolm::ReportContext context;
    context.engineIndex = engineIndex;
    context.aircraft.setIdentifier(aircraft);
    tolm::EngineRecord engine;
    engine.setType(QStringLiteral("CFM56-7"));
    engine.setSer(QStringLiteral("889123"));
    context.aircraft.setEngine(engineIndex, engine);
    context.created = QDateTime::fromSecsSinceEpoch(fuzz::clockSeconds());
    tolm::FlightDataImage image;
    check(image.assign(quorsim::FlightImage::generate(7, engineIndex + 1).responseFile()),
          "the simulator's image does not load");
    const QString folder = QStringLiteral("%1/%2_data/engine_%3")
                               .arg(directory, aircraft, QString::number(engineIndex + 1));
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    check(tolm::RawFlightFile::write(path, context, image, {}).written, "no raw file written");
    return path;
}

void makeFixture() {
    directory = fuzz::home() + QStringLiteral("/quor-raw");
    files << writeRaw(QStringLiteral("HB-IJK"), 0, QStringLiteral("ESN889123_fd_20080305_1407.raw"))
          << writeRaw(QStringLiteral("HB-IJK"), 1,
                      QStringLiteral("ESN889124_fd_20080305_1407.raw"));
    const QByteArray whole = fuzz::readFile(files[0]);
    QDir().mkpath(directory + QStringLiteral("/HB-CUT_data/engine_1"));
    files << directory + QStringLiteral("/HB-CUT_data/engine_1/cut.raw");
    fuzz::writeFile(files.last(), whole.left(788 + 5 * 142652 + 1000));
    QDir().mkpath(directory + QStringLiteral("/HB-OLD_data/engine_2"));
    files << directory + QStringLiteral("/HB-OLD_data/engine_2/old.raw");
    fuzz::writeFile(files.last(), QByteArray(4, '\x01') + whole.mid(4));
    fixture = fuzz::entriesUnder(directory);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    makeFixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList words;
    for (const QByteArray& w :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0')) {
        QString word = QString::fromUtf8(w);
        word.replace(QLatin1String("@D"), directory)
            .replace(QLatin1String("@1"), files[0])
            .replace(QLatin1String("@2"), files[1])
            .replace(QLatin1String("@C"), files[2])
            .replace(QLatin1String("@O"), files[3]);
        words << word;
    }
    QByteArray out, err;
    const int status = tolm::viewer::QuorRaw::run(words, out, err);
    if (qEnvironmentVariableIsSet("TOLM_FUZZ_VERBOSE")) {
        std::fprintf(stderr, "quor-raw %s: %d, %lld bytes out\n%s",
                     words.join(QLatin1Char(' ')).toLocal8Bit().constData(), status,
                     qint64(out.size()), err.constData());
    }
    check(status == 0 || status == tolm::viewer::QuorRaw::kUsageError, "an unknown exit status");
    if (status != 0) {
        check(out.isEmpty(), "a failed command printed output");
        check(!err.isEmpty() && err.endsWith('\n'), "a failed command did not say why");
    } else if (words.size() > 1 &&
               (words[0] == QLatin1String("tabulate") || words[0] == QLatin1String("csv")) &&
               !words.contains(QLatin1String("--help")) && !words.contains(QLatin1String("-h"))) {
        check(!out.isEmpty(), "a listing or export printed nothing");
    }
    check(fuzz::entriesUnder(directory) == fixture, "quor-raw changed the data directory");
    return 0;
}
