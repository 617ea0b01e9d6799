#pragma once
// Diagnostics of the unit link, for developers only; nothing here reaches the user.
// "tolm.link" carries the connection's life (look-up, connect, shutdown; debug lines off by
// default), "tolm.link.traffic" every command and every received chunk (warnings only by
// default), "tolm.link.trace" the link trace's own troubles (a trace file that cannot be
// written). Turn them on with QT_LOGGING_RULES, e.g. "tolm.link*.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcLinkTraffic)
Q_DECLARE_LOGGING_CATEGORY(lcLinkTrace)
