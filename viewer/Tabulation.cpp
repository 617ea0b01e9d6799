#include "viewer/Tabulation.h"

#include "viewer/CFormat.h"

namespace tolm::viewer {

Tabulation Tabulation::of(const ChartContents& chart, int set, const XRange& range) {
    Tabulation t;
    t.tag = QStringLiteral("Selected Flight: %1").arg(chart.label(set));
    t.header1 = QStringLiteral("%1  %2").arg(chart.header.value(0), chart.header.value(1));
    t.header2 = QStringLiteral("%1  %2").arg(chart.footer.value(0), chart.footer.value(1));
    t.header3 = QStringLiteral("Parameter: %1").arg(chart.yTitle);
    if (set < 0 || set >= chart.sets.size()) {
        return t;
    }
    const DataSet& s = chart.sets[set];
    const QByteArray xTitle = chart.xTitle.toLocal8Bit();
    const int count = std::min(chart.pointCount(), int(s.x.size()));
    for (int p = 0; p < count; ++p) {
        const double x = s.x[p];
        if (!range.contains(x)) {
            continue;
        }
        const double y = s.y[p];
        t.rows.append(TabulationRow{
            p, chart.isFft() ? cFormatText("%5d  %8.2f (Hz)  %8.3f (G)", p, x, y)
                             : cFormatText("%s  %8.4g  %8.5g", xTitle.constData(), x, y)});
    }
    return t;
}

int Tabulation::rowOfPoint(int point) const {
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].point == point) {
            return i;
        }
    }
    return -1;
}

QByteArray Tabulation::fileText() const {
    QByteArray out;
    for (const QString& line : {tag, header1, header2, header3}) {
        out += line.toLocal8Bit() + '\n';
    }
    out += '\n';
    for (const TabulationRow& row : rows) {
        out += row.text.toLocal8Bit() + '\n';
    }
    return out;
}

QString Tabulation::withTxtSuffix(const QString& name) {
    return name.endsWith(QLatin1String(".txt")) ? name : name + QLatin1String(".txt");
}

}  // namespace tolm::viewer
