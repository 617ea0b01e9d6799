#include "viewer/WaterfallExport.h"

#include "viewer/CFormat.h"

namespace tolm::viewer {

QByteArray WaterfallExport::csv(const ChartContents& chart, const XRange& range) {
    QByteArray out = cFormat("Flight #%d\n", chart.waterfallFlight);
    for (const QStringList* lines : {&chart.header, &chart.footer}) {
        for (int i = 0; i < 2; ++i) {
            const QByteArray line = lines->value(i).toLocal8Bit();
            if (!line.isEmpty()) {
                out += cFormat("%s\n", line.constData());
            }
        }
    }
    if (chart.sets.isEmpty()) {
        return out;
    }
    const QVector<double>& xs = chart.sets.first().x;
    for (int p = 0; p < xs.size(); ++p) {
        if (!range.contains(xs[p])) {
            continue;
        }
        out += cFormat("%.5g", xs[p]);
        for (const DataSet& s : chart.sets) {
            out += cFormat(",%.5g", s.y.value(p));
        }
        out += '\n';
    }
    return out;
}

QString WaterfallExport::withCsvSuffix(const QString& name) {
    return name.endsWith(QLatin1String(".csv")) ? name : name + QLatin1String(".csv");
}

}  // namespace tolm::viewer
