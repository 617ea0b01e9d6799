#include "link/LinkLog.h"

Q_LOGGING_CATEGORY(lcLink, "tolm.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLinkTraffic, "tolm.link.traffic", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLinkTrace, "tolm.link.trace", QtInfoMsg)
