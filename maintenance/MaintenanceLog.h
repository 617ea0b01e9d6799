#pragma once
// Diagnostics of the erase and the uploads, for developers ("tolm.maintenance"); never shown to
// the user.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMaintenance)
