#pragma once
// The aircraft register as the tests fill and read it: records written straight into the
// settings store, and combo boxes chosen from as the user would.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>

#include "formats/AircraftRecord.h"
#include "toolkit/ZafObject.h"

// Writes a record straight into the store: types CFM56-3 and CFM56-7, dates 2008-01-01 and
// 2008-02-01, download on for both engines, comments "comments of <id>".
inline tolm::AircraftRecord put(const QString& id, const QString& ser1 = QStringLiteral("111"),
                                const QString& ser2 = QStringLiteral("222")) {
    tolm::AircraftRecord r;
    r.setIdentifier(id);
    for (int i = 0; i < 2; ++i) {
        tolm::EngineRecord e;
        e.setType(i == 0 ? QStringLiteral("CFM56-3") : QStringLiteral("CFM56-7"));
        e.setSer(i == 0 ? ser1 : ser2);
        e.setInstallDate(QStringLiteral("2008-0%1-01").arg(i + 1));
        e.setOption(tolm::EngineOption::DownloadBearingData, true);
        r.setEngine(i, e);
    }
    r.setComments(QStringLiteral("comments of ") + id);
    QSettings().setValue(QStringLiteral("AircraftInfo/") + id, r.toByteArray());
    return r;
}
inline QByteArray stored(const QString& id) {
    return QSettings().value(QStringLiteral("AircraftInfo/") + id).toByteArray();
}
inline tolm::AircraftRecord storedRecord(const QString& id) {
    return tolm::AircraftRecord::fromByteArray(stored(id));
}
// Picks an item of a combo box: the box shows it and reports the choice.
inline void choose(ZafObject box, const QString& text) {
    auto* c = box.as<QComboBox>();
    const int i = c->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}
