#pragma once
// The raw files the flight index left out, each with the reason it could not be read. At most
// one exists.
#include <QList>

#include "health/IndexedFile.h"
#include "toolkit/ZafWindow.h"

namespace tolm::health {

class LeftOutFilesWindow : public ZafWindow {
    Q_OBJECT
public:
    static inline const QString kIdentifier = QStringLiteral("LeftOutFilesWindow");

    LeftOutFilesWindow();
    static LeftOutFilesWindow* Find();

    ZafEventType Event(const ZafEventStruct& event) override;
    void Fill(const QList<SkippedFile>& files);
};

}  // namespace tolm::health
