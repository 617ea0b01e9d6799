#pragma once
// A comma-decimal locale ("de_DE.UTF-8") for the C library and Qt while it lives, built from the
// system's locale sources into the test's home when the system has none installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>
#include <QProcess>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "tests/support/TestEnvironment.h"

class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
            const QString dir = testenv::home() + QStringLiteral("/locale");
            QDir().mkpath(dir);
            QProcess::execute(QStringLiteral("localedef"),
                              {"-i", "de_DE", "-f", "UTF-8", dir + "/de_DE.UTF-8"});
            setenv("LOCPATH", dir.toLocal8Bit().constData(), 1);
            std::setlocale(LC_ALL, "de_DE.UTF-8");
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
    // Whether printf now writes a decimal comma.
    static bool active() {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return QByteArray(text) == "1,5" && QLocale().toString(1.5) == QLatin1String("1,5");
    }
};
