#pragma once
// Diagnostics of the engine-health core ("tolm.health"): the flight index, its database and its
// rebuilds, for developers; never shown to the user.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHealth)
