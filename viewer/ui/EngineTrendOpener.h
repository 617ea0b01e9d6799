#pragma once
// Where the flight selection's Trend... button and the plot window's Data > Trend... lead: the
// program's engine trend window, which the viewer does not know. The program sets the opener;
// without one, both stay hidden.
#include <QString>
#include <functional>

namespace tolm::viewer {

// Opens the trend of engine `engineNumber` (1 or 2) of the aircraft `aircraft`.
using EngineTrendOpener = std::function<void(const QString& aircraft, int engineNumber)>;

void setEngineTrendOpener(EngineTrendOpener opener);
const EngineTrendOpener& engineTrendOpener();

}  // namespace tolm::viewer
