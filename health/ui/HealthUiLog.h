#pragma once
// Diagnostics of the engine-health windows ("tolm.health.ui"): what the index could not give
// them and how long it took, for developers; the user sees the windows' own texts.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHealthUi)
