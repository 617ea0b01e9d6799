// Any words as the program's command line (the input split at NUL bytes, each word UTF-8):
// the options read as "%d" reads them, and the level the program starts at is Flight Line unless
// the password of the level asked for was given.
#include <QByteArrayList>
#include <climits>
#include <cstdio>

#include "app/CommandLine.h"
#include "core/Config.h"
#include "fuzz/FuzzSupport.h"

using fuzz::check;
using tolm::StartOptions;

namespace {

// What "%d" makes of the word after a two-letter option, when the word is plain ASCII and its
// number fits an int (beyond, "%d" itself has no defined value).
std::optional<std::optional<int>> scanned(const QString& word) {
    const QByteArray rest = word.mid(2).toLatin1();
    for (const QChar c : word) {
        if (c.unicode() == 0 || c.unicode() > 0x7E) {
            return std::nullopt;
        }
    }
    long long wide = 0;
    int consumed = 0;
    if (std::sscanf(rest.constData(), " %lld%n", &wide, &consumed) != 1) {
        return std::optional<int>();
    }
    if (wide < INT_MIN || wide > INT_MAX || consumed > 18) {
        return std::nullopt;
    }
    int value = 0;
    std::sscanf(rest.constData(), "%d", &value);
    return std::optional<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList words;
    for (const QByteArray& w :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0')) {
        words << QString::fromUtf8(w);
    }
    const StartOptions options = StartOptions::parse(words);

    // Each option's value comes from the last word that gave one; "%d" agrees where defined.
    std::optional<int> left, top;
    int level = tolm::kLevelFlightLine;
    QString password;
    bool unrestricted = false;
    bool linkTrace = false;
    bool comparable = true;
    for (const QString& w : words) {
        if (w.startsWith(QLatin1String("-x")) || w.startsWith(QLatin1String("-y")) ||
            w.startsWith(QLatin1String("-l"))) {
            const auto value = scanned(w);
            if (!value) {
                comparable = false;
            } else if (*value && w[1] == u'x') {
                left = **value;
            } else if (*value && w[1] == u'y') {
                top = **value;
            } else if (*value) {
                level = **value;
            }
        } else if (w.startsWith(QLatin1String("-p")) && w.size() > 2) {
            password = w.mid(2);
        } else if (w.startsWith(QLatin1String("-s"))) {
            unrestricted = true;
        } else if (w.startsWith(QLatin1String("-t"))) {
            linkTrace = true;
        }
    }
    check(options.unrestricted == unrestricted, "-s was not read as given");
    check(options.linkTrace == linkTrace, "-t was not read as given");
    check(options.password == password, "-p was not read as given");
    if (comparable) {
        check(options.requestedLevel == level, "-l does not read as %d reads it");
        check(options.left == left, "-x does not read as %d reads it");
        check(options.top == top, "-y does not read as %d reads it");
    }

    const int verified = options.verifiedLevel();
    check(verified == tolm::kLevelFactory || verified == tolm::kLevelAdministrator ||
              verified == tolm::kLevelFlightLine,
          "the program would start at an unknown level");
    if (verified == tolm::kLevelAdministrator) {
        check(options.requestedLevel == 1 && options.password == tolm::storedPassword(),
              "Administrator without its password");
    }
    if (verified == tolm::kLevelFactory) {
        check(options.requestedLevel == 0 && tolm::matchesFactoryCode(options.password),
              "the factory level without its access code");
        check(options.password.size() == 9, "the factory code matched a text of another length");
    }
    check(tolm::foldLatin1Case(options.password).size() == options.password.size(),
          "folding changed the password's length");
    return 0;
}
