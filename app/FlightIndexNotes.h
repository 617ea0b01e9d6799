#pragma once
// The flight index as the flight selection and the download dialog meet it: the alarm marks and
// copies of the flights on file, and what a download added. The index is derived data: when it
// cannot be read the list goes unmarked and the download's last line says nothing more, and
// the reason is logged.
#include <QString>
#include <QStringList>

#include "viewer/FlightNotes.h"

namespace tolm {

viewer::FlightNotes flightNotesFromIndex(const QString& dataDirectory);
// "12 new flights, 8 already filed" for the raw files a download has just written, once the
// index holds them; empty when the index cannot be updated.
QString filedSummary(const QString& dataDirectory, const QStringList& rawFiles);

}  // namespace tolm
