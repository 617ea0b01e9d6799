#pragma once
// The comma-separated export of a Waterfall FFT: the flight, the header and footer lines, then
// one row per point within the shown x range with X and the Y of every set, hidden ones too.
#include <QByteArray>
#include <QString>

#include "viewer/ChartContents.h"

namespace tolm::viewer {

class WaterfallExport {
public:
    static inline const QString kDialogTitle = QStringLiteral("Save Tabulated Data");
    static inline const QString kFileFilter = QStringLiteral("Text Files (*.csv)");
    // A file that cannot be written: a critical box with this title and text; nothing written.
    static inline const QString kFailureTitle = QStringLiteral("Save Tabulated Data");
    static inline const QString kFailureText = QStringLiteral("Couldn't save tabulation data");

    static QByteArray csv(const ChartContents& chart, const XRange& range = XRange());
    // The name with ".csv" appended unless it already ends with ".csv".
    static QString withCsvSuffix(const QString& name);
};

}  // namespace tolm::viewer
