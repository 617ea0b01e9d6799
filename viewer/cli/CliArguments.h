#pragma once
// quor-raw's command line after the command: positional arguments, "--name value" (or
// "--name=value") options and "--name" flags, each checked against the names the command knows.
// Every mistake is thrown as a UsageError with the message quor-raw prints.
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolm::viewer {

struct UsageError {
    QString message;
};

class CliArguments {
public:
    CliArguments(const QStringList& args, const QStringList& options,
                 const QStringList& flags = {});

    // The one positional argument when exactly `expected` were given.
    QString positional(int expected, const char* what) const;
    bool flag(const QString& name) const { return flags_.contains(name); }
    std::optional<QString> text(const QString& name) const;
    QString required(const QString& name) const;
    std::optional<int> integer(const QString& name, int low, int high) const;
    int requiredInteger(const QString& name, int low, int high) const;
    std::optional<double> real(const QString& name) const;

private:
    QStringList positional_;
    QMap<QString, QString> options_;
    QSet<QString> flags_;
};

}  // namespace tolm::viewer
