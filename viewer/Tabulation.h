#pragma once
// The listing of one data set's plotted points that the tabulation window shows and saves: its
// four text lines and one row per point within the shown x range.
#include <QByteArray>
#include <QList>
#include <QString>

#include "viewer/ChartContents.h"

namespace tolm::viewer {

struct TabulationRow {
    int point = 0;  // the point of the data set the row describes
    QString text;
    bool operator==(const TabulationRow&) const = default;
};

class Tabulation {
public:
    static inline const QString kSaveTitle = QStringLiteral("Save To File");
    static inline const QString kSaveFailed = QStringLiteral("Couldn't save tabulation data");
    static inline const QString kFileFilter = QStringLiteral("*.txt");

    // The listing of data set `set` with the points whose X lies in the range, in point order.
    static Tabulation of(const ChartContents& chart, int set, const XRange& range = XRange());

    QString tag;      // P_TAG
    QString header1;  // P_HEADER1
    QString header2;  // P_HEADER2
    QString header3;  // P_HEADER3
    QList<TabulationRow> rows;

    // The row describing the point; -1 when it is not listed.
    int rowOfPoint(int point) const;
    // The saved text file: the four lines, an empty line, then every row.
    QByteArray fileText() const;
    // The name with ".txt" appended unless it already ends with ".txt".
    static QString withTxtSuffix(const QString& name);
};

}  // namespace tolm::viewer
