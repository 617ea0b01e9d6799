// Built by the test "undeclared_include" only, which expects it not to compile: the viewer's core
// does not link the download's core, so the download's headers are not there for it.
#include "download/ReformatData.h"
#include "viewer/FlightSelection.h"
