#include "viewer/cli/CliArguments.h"

namespace tolm::viewer {

CliArguments::CliArguments(const QStringList& args, const QStringList& known,
                           const QStringList& knownFlags) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional_.append(a);
            continue;
        }
        QString name = a.mid(2), value;
        if (knownFlags.contains(name)) {
            flags_.insert(name);
            continue;
        }
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError{QStringLiteral("option --%1 needs a value").arg(name)};
        }
        if (!known.contains(name)) {
            throw UsageError{QStringLiteral("unknown option --%1").arg(name)};
        }
        if (options_.contains(name)) {
            throw UsageError{QStringLiteral("option --%1 given twice").arg(name)};
        }
        options_.insert(name, value);
    }
}

QString CliArguments::positional(int expected, const char* what) const {
    if (positional_.size() != expected) {
        throw UsageError{positional_.size() < expected
                             ? QStringLiteral("missing %1").arg(QLatin1String(what))
                             : QStringLiteral("unexpected argument %1").arg(positional_.last())};
    }
    return positional_.first();
}

std::optional<QString> CliArguments::text(const QString& name) const {
    return options_.contains(name) ? std::optional(options_.value(name)) : std::nullopt;
}

QString CliArguments::required(const QString& name) const {
    const std::optional<QString> v = text(name);
    if (!v) {
        throw UsageError{QStringLiteral("missing option --%1").arg(name)};
    }
    return *v;
}

std::optional<int> CliArguments::integer(const QString& name, int low, int high) const {
    const std::optional<QString> v = text(name);
    if (!v) {
        return std::nullopt;
    }
    bool ok = false;
    const int n = v->toInt(&ok);
    if (!ok || n < low || n > high) {
        throw UsageError{QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
                             .arg(name, QString::number(low), QString::number(high), *v)};
    }
    return n;
}

int CliArguments::requiredInteger(const QString& name, int low, int high) const {
    required(name);
    return *integer(name, low, high);
}

std::optional<double> CliArguments::real(const QString& name) const {
    const std::optional<QString> v = text(name);
    if (!v) {
        return std::nullopt;
    }
    bool ok = false;
    const double d = v->toDouble(&ok);
    if (!ok) {
        throw UsageError{QStringLiteral("--%1 must be a number, not \"%2\"").arg(name, *v)};
    }
    return d;
}

}  // namespace tolm::viewer
