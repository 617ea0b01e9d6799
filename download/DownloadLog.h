#pragma once
// Diagnostics of the download and its files, for developers ("tolm.download"); never shown to
// the user.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcDownload)
