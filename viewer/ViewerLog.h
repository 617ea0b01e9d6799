#pragma once
// Diagnostics of the viewer's core ("tolm.viewer"), for developers; never shown to the user.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcViewer)
